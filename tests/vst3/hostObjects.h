// The host's side of the VST 3 interface for the tests: the objects a host
// hands a plug-in (application, edit handler, streams, parameter changes,
// connection proxies, messages), written from the facts sheet. They live in
// the test; their counts only show whether the plug-in gave back what it took.
#pragma once

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "formats/vst3/abi/component.h"
#include "formats/vst3/abi/controller.h"
#include "formats/vst3/abi/host.h"

namespace vst3test {

using namespace vst3;

// Counting without owning: the test owns the object.
template <class... Interfaces>
class Held : public Interfaces... {
public:
    uint32 KVBR_VST3_CALL addRef() override { return ++count; }
    uint32 KVBR_VST3_CALL release() override { return --count; }
    // What the plug-in holds beyond the test's own reference.
    int held() const { return static_cast<int>(count.load()) - 1; }

protected:
    std::atomic<uint32> count{1};
};

// Answers a query when iid is one of the interfaces' IDs or FUnknown's.
template <class Self, class First, class... Rest>
tresult answerQuery(Self* self, const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    void* found = nullptr;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, First::iid)) found = static_cast<First*>(self);
    ((!found && sameUid(iid, Rest::iid) ? void(found = static_cast<Rest*>(self)) : void()), ...);
    *obj = found;
    if (!found) return kNoInterface;
    self->addRef();
    return kResultOk;
}

class AttributeList final : public IAttributeList {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<AttributeList, IAttributeList>(this, iid, obj);
    }
    uint32 KVBR_VST3_CALL addRef() override { return 1; }
    uint32 KVBR_VST3_CALL release() override { return 1; }
    tresult KVBR_VST3_CALL setInt(const char*, int64) override { return kNotImplemented; }
    tresult KVBR_VST3_CALL getInt(const char*, int64*) override { return kResultFalse; }
    tresult KVBR_VST3_CALL setFloat(const char*, double) override { return kNotImplemented; }
    tresult KVBR_VST3_CALL getFloat(const char*, double*) override { return kResultFalse; }
    tresult KVBR_VST3_CALL setString(const char*, const char16*) override { return kNotImplemented; }
    tresult KVBR_VST3_CALL getString(const char*, char16*, uint32) override { return kResultFalse; }
    tresult KVBR_VST3_CALL setBinary(const char* key, const void* data, uint32 size) override;
    tresult KVBR_VST3_CALL getBinary(const char* key, const void** data, uint32* size) override;
    std::map<std::string, std::vector<unsigned char>> binaries;
};

class Message final : public IMessage {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<Message, IMessage>(this, iid, obj);
    }
    uint32 KVBR_VST3_CALL addRef() override { return ++count; }
    uint32 KVBR_VST3_CALL release() override;
    FIDString KVBR_VST3_CALL getMessageID() override { return id.c_str(); }
    void KVBR_VST3_CALL setMessageID(FIDString text) override { id = text ? text : ""; }
    IAttributeList* KVBR_VST3_CALL getAttributes() override { return &attributes; }
    static std::atomic<int> alive;

private:
    friend class HostApplication;
    Message() { ++alive; }
    ~Message() { --alive; }
    std::atomic<uint32> count{1};
    std::string id;
    AttributeList attributes;
};

class HostApplication final : public Held<IHostApplication> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<HostApplication, IHostApplication>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL getName(String128 name) override;
    tresult KVBR_VST3_CALL createInstance(const Uid& cid, const Uid& iid, void** obj) override;
    bool makesMessages = true;
};

// Records what the controller tells the host: "begin 5", "perform 5 0.5",
// "end 5", "restart 4", "dirty 1", "programs 1001 -1".
class ComponentHandler final : public Held<IComponentHandler, IComponentHandler2, IUnitHandler> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<ComponentHandler, IComponentHandler, IComponentHandler2, IUnitHandler>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL beginEdit(ParamID id) override;
    tresult KVBR_VST3_CALL performEdit(ParamID id, ParamValue value) override;
    tresult KVBR_VST3_CALL endEdit(ParamID id) override;
    tresult KVBR_VST3_CALL restartComponent(int32 flags) override;
    tresult KVBR_VST3_CALL setDirty(TBool state) override;
    tresult KVBR_VST3_CALL requestOpenEditor(FIDString) override { return kResultFalse; }
    tresult KVBR_VST3_CALL startGroupEdit() override { return kResultOk; }
    tresult KVBR_VST3_CALL finishGroupEdit() override { return kResultOk; }
    tresult KVBR_VST3_CALL notifyUnitSelection(int32) override { return kResultOk; }
    tresult KVBR_VST3_CALL notifyProgramListChange(int32 listId, int32 program) override;
    bool saw(const std::string& entry) const;
    // The last value performed for an ID, or -1.
    double lastPerformed(ParamID id) const;
    std::vector<std::string> log;
    std::vector<std::pair<ParamID, double>> performed;
};

// A state stream over bytes. Reads may be cut to `readLimit` bytes a call
// (0: no limit), as some hosts' streams do.
class MemoryStream final : public Held<IBStream> {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<unsigned char> bytes) : bytes(std::move(bytes)) {}
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<MemoryStream, IBStream>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) override;
    tresult KVBR_VST3_CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) override;
    tresult KVBR_VST3_CALL seek(int64 pos, int32 mode, int64* result) override;
    tresult KVBR_VST3_CALL tell(int64* pos) override;
    std::vector<unsigned char> bytes;
    size_t position = 0;
    int32 readLimit = 0;
    bool refuseWrites = false;
};

// One parameter's points; room is made before processing so that adding
// allocates nothing.
class ValueQueue final : public Held<IParamValueQueue> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<ValueQueue, IParamValueQueue>(this, iid, obj);
    }
    ParamID KVBR_VST3_CALL getParameterId() override { return id; }
    int32 KVBR_VST3_CALL getPointCount() override { return static_cast<int32>(points.size()); }
    tresult KVBR_VST3_CALL getPoint(int32 index, int32* offset, ParamValue* value) override;
    tresult KVBR_VST3_CALL addPoint(int32 offset, ParamValue value, int32* index) override;
    ParamID id = 0;
    std::vector<std::pair<int32, double>> points;
};

class ParameterChanges final : public Held<IParameterChanges> {
public:
    ParameterChanges();
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<ParameterChanges, IParameterChanges>(this, iid, obj);
    }
    int32 KVBR_VST3_CALL getParameterCount() override { return used; }
    IParamValueQueue* KVBR_VST3_CALL getParameterData(int32 index) override;
    IParamValueQueue* KVBR_VST3_CALL addParameterData(const ParamID* id, int32* index) override;
    // The host's side: a point for `id` (its queue made on first use).
    void add(ParamID id, int32 offset, double value);
    void clear();
    ValueQueue* queueOf(ParamID id);

private:
    std::vector<ValueQueue> queues;
    int32 used = 0;
};

// The host's proxy between the two halves: forwards every message to `target`.
class ConnectionProxy final : public Held<IConnectionPoint> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<ConnectionProxy, IConnectionPoint>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL connect(IConnectionPoint*) override { return kResultOk; }
    tresult KVBR_VST3_CALL disconnect(IConnectionPoint*) override { return kResultOk; }
    tresult KVBR_VST3_CALL notify(IMessage* message) override;
    IConnectionPoint* target = nullptr;
    std::vector<std::string> forwarded;  // the IDs passed on
};

}  // namespace vst3test
