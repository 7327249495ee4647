#include "factory.h"

#include <new>

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

template <class Info>
void fillCommon(Info& info, const vst3id::ClassEntry& entry) {
    info.cid = uidOfWords(entry.cid);
    info.cardinality = vst3id::kCardinality;
    putText8(info.category, sizeof info.category, entry.category);
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
    putText8(info->vendor, sizeof info->vendor, vst3id::kVendor);
    putText8(info->url, sizeof info->url, vst3id::kUrl);
    putText8(info->email, sizeof info->email, vst3id::kEmail);
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
}

int32 Factory::countClasses() { return vst3id::kClassCount; }

tresult Factory::getClassInfo(int32 index, PClassInfo* info) {
    const vst3id::ClassEntry* entry = classAt(index);
    if (!info || !entry) return kInvalidArgument;
    fillCommon(*info, *entry);
    putText8(info->name, sizeof info->name, vst3id::kName);
    return kResultOk;
}

tresult Factory::getClassInfo2(int32 index, PClassInfo2* info) {
    const vst3id::ClassEntry* entry = classAt(index);
    if (!info || !entry) return kInvalidArgument;
    fillCommon(*info, *entry);
    putText8(info->name, sizeof info->name, vst3id::kName);
    info->classFlags = vst3id::kClassFlags;
    putText8(info->subCategories, sizeof info->subCategories, entry->subCategories);
    putText8(info->vendor, sizeof info->vendor, vst3id::kVendor);
    putText8(info->version, sizeof info->version, vst3id::kVersion);
    putText8(info->sdkVersion, sizeof info->sdkVersion, vst3id::kSdkVersion);
    return kResultOk;
}

tresult Factory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
    const vst3id::ClassEntry* entry = classAt(index);
    if (!info || !entry) return kInvalidArgument;
    fillCommon(*info, *entry);
    putText16(info->name, 64, vst3id::kName);
    info->classFlags = vst3id::kClassFlags;
    putText8(info->subCategories, sizeof info->subCategories, entry->subCategories);
    putText16(info->vendor, 64, vst3id::kVendor);
    putText16(info->version, 64, vst3id::kVersion);
    putText16(info->sdkVersion, 64, vst3id::kSdkVersion);
    return kResultOk;
}

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
