#include "factory.h"

#include <new>
#include <type_traits>

#include "controller.h"
#include "identity.h"
#include "processor.h"
#include "text16.h"

namespace vst3 {

namespace {

const vst3id::ClassEntry* classAt(int32 index) {
    return index >= 0 && index < vst3id::kClassCount ? &vst3id::kClasses[index] : nullptr;
}

Uid uidOfWords(const vst3id::Words& w) { return uidOf(w.l1, w.l2, w.l3, w.l4); }

// The class records alike: the later kinds add flags, sub-categories,
// vendor and versions, in 8-bit or 16-bit text as their fields are.
template <class Info>
tresult describeClass(int32 index, Info* info) {
    const vst3id::ClassEntry* entry = classAt(index);
    if (!info || !entry) return kInvalidArgument;
    info->cid = uidOfWords(entry->cid);
    info->cardinality = vst3id::kCardinality;
    putText(info->category, entry->category);
    putText(info->name, vst3id::kName);
    if constexpr (!std::is_same_v<Info, PClassInfo>) {
        info->classFlags = vst3id::kClassFlags;
        putText(info->subCategories, entry->subCategories);
        putText(info->vendor, vst3id::kVendor);
        putText(info->version, vst3id::kVersion);
        putText(info->sdkVersion, vst3id::kSdkVersion);
    }
    return kResultOk;
}

}  // namespace

Factory* Factory::handOut() {
    // Made once, never destroyed: hosts may ask for it again after releasing it.
    static Factory* factory = new Factory;
    factory->addRef();
    return factory;
}

tresult Factory::queryInterface(const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (offer<IPluginFactory3>(iid, this, obj) || offer<IPluginFactory2>(iid, this, obj) ||
        offer<IPluginFactory>(iid, this, obj) || offer<FUnknown>(iid, this, obj))
        return kResultOk;
    *obj = nullptr;
    return kNoInterface;
}

uint32 Factory::release() {
    const uint32 left = refs.down();
    // Only the module's own reference is left: the host is done with us.
    if (left == 1) host.reset();
    return left;
}

tresult Factory::getFactoryInfo(PFactoryInfo* info) {
    if (!info) return kInvalidArgument;
    putText(info->vendor, vst3id::kVendor);
    putText(info->url, vst3id::kUrl);
    putText(info->email, vst3id::kEmail);
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
}

int32 Factory::countClasses() { return vst3id::kClassCount; }

tresult Factory::getClassInfo(int32 index, PClassInfo* info) { return describeClass(index, info); }
tresult Factory::getClassInfo2(int32 index, PClassInfo2* info) { return describeClass(index, info); }
tresult Factory::getClassInfoUnicode(int32 index, PClassInfoW* info) { return describeClass(index, info); }

tresult Factory::createInstance(const Uid& cid, const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    FUnknown* made = nullptr;
    // No exception may reach the host; the objects allocate their effects in initialize.
    if (sameUid(cid, uidOfWords(vst3id::kProcessorClass)))
        made = static_cast<IComponent*>(new (std::nothrow) Processor);
    else if (sameUid(cid, uidOfWords(vst3id::kControllerClass)))
        made = static_cast<IEditController*>(new (std::nothrow) Controller);
    if (!made) return kNoInterface;
    const tresult answer = made->queryInterface(iid, obj);
    // The creation's own reference goes; the query's stays with the caller.
    made->release();
    return answer == kResultOk ? kResultOk : kNoInterface;
}

tresult Factory::setHostContext(FUnknown* context) {
    host.keep(context);
    return kResultOk;
}

}  // namespace vst3
