// What every object of the VST 3 glue does alike: counting references across
// threads, answering interface queries, and holding the host's objects.
#pragma once

#include <atomic>
#include <utility>

#include "formats/vst3/abi/base.h"

namespace vst3 {

// A new object starts with the one reference its creator hands on. The host
// may count from any thread.
class RefCount {
public:
    uint32 up() { return count.fetch_add(1, std::memory_order_relaxed) + 1; }
    // The object is deleted by its owner when this answers 0.
    uint32 down() { return count.fetch_sub(1, std::memory_order_acq_rel) - 1; }

private:
    std::atomic<uint32> count{1};
};

// Answers a query for interface I (or one of I's own IDs) with `self`, counted.
template <class I>
bool offer(const Uid& iid, I* self, void** obj) {
    if (!sameUid(iid, I::iid)) return false;
    self->addRef();
    *obj = self;
    return true;
}

// Ends a query that the object's own interfaces did not answer: FUnknown's
// ID, and the ID of a base several of them share, give `root`; anything else
// is refused with null.
template <class Root>
tresult answerRoot(const Uid& iid, Root* root, void** obj, const Uid& sharedBase = FUnknown::iid) {
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, sharedBase)) {
        root->addRef();
        *obj = root;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

// The host object's interface I, counted, or null. Anything but kResultOk is
// a no, whatever else the host wrote.
template <class I>
I* queryHost(FUnknown* unknown) {
    if (!unknown) return nullptr;
    void* found = nullptr;
    if (unknown->queryInterface(I::iid, &found) != kResultOk) return nullptr;
    return static_cast<I*>(found);
}

// One counted reference to a host object, released when replaced or dropped.
template <class I>
class HostRef {
public:
    HostRef() = default;
    ~HostRef() { reset(); }
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;

    // Keeps an object the host lent for a call: counts it once more.
    void keep(I* object) {
        if (object) object->addRef();
        reset();
        held = object;
    }
    // Takes a reference already counted for us (a query's answer).
    void adopt(I* object) {
        reset();
        held = object;
    }
    void reset() {
        if (I* old = std::exchange(held, nullptr)) old->release();
    }
    I* get() const { return held; }
    explicit operator bool() const { return held != nullptr; }
    I* operator->() const { return held; }

private:
    I* held = nullptr;
};

}  // namespace vst3
