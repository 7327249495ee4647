// The module's one factory: the processor class and the controller class.
#pragma once

#include "formats/vst3/abi/factory.h"
#include "unknown.h"

namespace vst3 {

class Factory final : public IPluginFactory3 {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override;
    // The factory lives as long as the module; the counts only tell when the
    // host is done with it, and the host context goes then.
    uint32 KVBR_VST3_CALL addRef() override { return refs.up(); }
    uint32 KVBR_VST3_CALL release() override;

    tresult KVBR_VST3_CALL getFactoryInfo(PFactoryInfo* info) override;
    int32 KVBR_VST3_CALL countClasses() override;
    tresult KVBR_VST3_CALL getClassInfo(int32 index, PClassInfo* info) override;
    tresult KVBR_VST3_CALL createInstance(const Uid& cid, const Uid& iid, void** obj) override;
    tresult KVBR_VST3_CALL getClassInfo2(int32 index, PClassInfo2* info) override;
    tresult KVBR_VST3_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) override;
    tresult KVBR_VST3_CALL setHostContext(FUnknown* context) override;

    // The one factory, counted once more for the caller.
    static Factory* handOut();

private:
    RefCount refs;
    HostRef<FUnknown> host;
};

}  // namespace vst3
