// The editing half of the plug-in: the parameters as the host sees them, the
// program list of the bank, and the editor's view. It keeps a UiEffect of its
// own, a mirror of the processor's effect that never processes: the editor
// works on it, and its bank follows the processor's through the component
// state, the program parameter and the bank message.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "formats/vst3/abi/controller.h"
#include "formats/vst3/abi/host.h"
#include "parameters.h"
#include "formats/hostLink.h"
#include "unknown.h"

class ADEditor;
class UiEffect;

namespace vst3 {

class EditorView;

class Controller final : public IEditController,
                         public IEditController2,
                         public IUnitInfo,
                         public IConnectionPoint {
public:
    Controller();
    ~Controller();

    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override;
    uint32 KVBR_VST3_CALL addRef() override { return refs.up(); }
    uint32 KVBR_VST3_CALL release() override;

    // All on the UI thread.
    tresult KVBR_VST3_CALL initialize(FUnknown* context) override;
    tresult KVBR_VST3_CALL terminate() override;
    tresult KVBR_VST3_CALL setComponentState(IBStream* state) override;
    // The controller keeps nothing the component state does not.
    tresult KVBR_VST3_CALL setState(IBStream*) override { return kResultOk; }
    tresult KVBR_VST3_CALL getState(IBStream*) override { return kResultOk; }
    int32 KVBR_VST3_CALL getParameterCount() override { return params::kCount; }
    tresult KVBR_VST3_CALL getParameterInfo(int32 index, ParameterInfo* info) override;
    tresult KVBR_VST3_CALL getParamStringByValue(ParamID id, ParamValue value, String128 text) override;
    tresult KVBR_VST3_CALL getParamValueByString(ParamID id, char16* text, ParamValue* value) override;
    ParamValue KVBR_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue value) override;
    ParamValue KVBR_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plain) override;
    ParamValue KVBR_VST3_CALL getParamNormalized(ParamID id) override;
    tresult KVBR_VST3_CALL setParamNormalized(ParamID id, ParamValue value) override;
    tresult KVBR_VST3_CALL setComponentHandler(IComponentHandler* handler) override;
    IPlugView* KVBR_VST3_CALL createView(FIDString name) override;

    tresult KVBR_VST3_CALL setKnobMode(int32) override { return kResultFalse; }
    tresult KVBR_VST3_CALL openHelp(TBool) override { return kResultFalse; }
    tresult KVBR_VST3_CALL openAboutBox(TBool) override { return kResultFalse; }

    int32 KVBR_VST3_CALL getUnitCount() override { return 1; }
    tresult KVBR_VST3_CALL getUnitInfo(int32 index, UnitInfo* info) override;
    int32 KVBR_VST3_CALL getProgramListCount() override { return 1; }
    tresult KVBR_VST3_CALL getProgramListInfo(int32 index, ProgramListInfo* info) override;
    tresult KVBR_VST3_CALL getProgramName(int32 listId, int32 program, String128 name) override;
    tresult KVBR_VST3_CALL getProgramInfo(int32, int32, const char*, String128) override { return kResultFalse; }
    tresult KVBR_VST3_CALL hasProgramPitchNames(int32, int32) override { return kResultFalse; }
    tresult KVBR_VST3_CALL getProgramPitchName(int32, int32, int16, String128) override { return kResultFalse; }
    int32 KVBR_VST3_CALL getSelectedUnit() override { return kRootUnitId; }
    tresult KVBR_VST3_CALL selectUnit(int32) override { return kResultOk; }
    tresult KVBR_VST3_CALL getUnitByBus(int32, int32, int32, int32, int32*) override { return kResultFalse; }
    tresult KVBR_VST3_CALL setUnitProgramData(int32, int32, IBStream*) override { return kNotImplemented; }

    tresult KVBR_VST3_CALL connect(IConnectionPoint* other) override;
    tresult KVBR_VST3_CALL disconnect(IConnectionPoint* other) override;
    tresult KVBR_VST3_CALL notify(IMessage* message) override;

    // For the view: the editor of the mirror effect (null before initialize
    // and after terminate), the host's context, and its coming and going.
    ADEditor* editor() const;
    FUnknown* hostContext() const { return host.get(); }
    void viewClosing(EditorView* view);
    // From the open view's tick, outside any host call: a restart request
    // owed since the host chose a program.
    void settleRestart();

private:
    // The mirror effect's edits, on the UI thread (HostLink).
    static void automate(void* context, int parameter, float normalised);
    static void gesture(void* context, int parameter, bool begin);
    static void updated(void* context);
    // The host's values of the controls and the program, from the mirror;
    // true when one of them changed.
    bool takeValuesFromEffect();
    // The editor's panel shows the bank and selection the mirror has now.
    void showBankInEditor();
    std::string programName(int slot) const;
    void notifyProgramNames();

    RefCount refs;
    HostLink link;
    std::unique_ptr<UiEffect> effect;
    HostRef<FUnknown> host;
    HostRef<IComponentHandler> handler;
    HostRef<IConnectionPoint> peer;
    std::array<double, params::kCount> values{};
    std::vector<EditorView*> views;
    bool restartOwed = false;
};

}  // namespace vst3
