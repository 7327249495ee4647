// The editing half of the plug-in: the parameters as the host sees them, the
// program list of the bank, and the editor's view. It keeps a mirror of the
// processor's parameters and bank (values and names; it never processes):
// the editor works on it, and it follows the processor's through the
// component state, the host's parameter values and the bank message.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "formats/vst3/abi/controller.h"
#include "formats/vst3/abi/host.h"
#include "formats/vst3/abi/view.h"
#include "parameters.h"
#include "unknown.h"

class ADEditor;

namespace vst3 {

class EditorView;
class RunLoopClient;

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

    // All on the UI thread. Every call but setParamNormalized first asks the
    // host for the restart a program it chose is owed.
    tresult KVBR_VST3_CALL initialize(FUnknown* context) override;
    tresult KVBR_VST3_CALL terminate() override;
    tresult KVBR_VST3_CALL setComponentState(IBStream* state) override;
    // The controller's own state is the editor's: whether its strip is open.
    tresult KVBR_VST3_CALL setState(IBStream* state) override;
    tresult KVBR_VST3_CALL getState(IBStream* state) override;
    int32 KVBR_VST3_CALL getParameterCount() override { return settled(params::kCount); }
    tresult KVBR_VST3_CALL getParameterInfo(int32 index, ParameterInfo* info) override;
    tresult KVBR_VST3_CALL getParamStringByValue(ParamID id, ParamValue value, String128 text) override;
    tresult KVBR_VST3_CALL getParamValueByString(ParamID id, char16* text, ParamValue* value) override;
    ParamValue KVBR_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue value) override;
    ParamValue KVBR_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plain) override;
    ParamValue KVBR_VST3_CALL getParamNormalized(ParamID id) override;
    // Never asks for a restart: some hosts hold a lock here that the request
    // takes again (Ardour 7).
    tresult KVBR_VST3_CALL setParamNormalized(ParamID id, ParamValue value) override;
    tresult KVBR_VST3_CALL setComponentHandler(IComponentHandler* handler) override;
    IPlugView* KVBR_VST3_CALL createView(FIDString name) override;

    tresult KVBR_VST3_CALL setKnobMode(int32) override { return kResultFalse; }
    tresult KVBR_VST3_CALL openHelp(TBool) override { return kResultFalse; }
    tresult KVBR_VST3_CALL openAboutBox(TBool) override { return kResultFalse; }

    int32 KVBR_VST3_CALL getUnitCount() override { return settled(1); }
    tresult KVBR_VST3_CALL getUnitInfo(int32 index, UnitInfo* info) override;
    int32 KVBR_VST3_CALL getProgramListCount() override { return settled(1); }
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

    // For the view: the editor over the mirror, made at the first call (null
    // before initialize and after terminate), the host's context, and the
    // view's coming and going.
    ADEditor* editor();
    FUnknown* hostContext() const { return host.get(); }
    void viewClosing(EditorView* view);
    // Outside the host's setParamNormalized (the open view's tick, the host's
    // run loop, the host's next call): the restart request owed since the
    // host chose a program.
    void settleRestart();

private:
    class Port;
    struct Mirror;

    template <typename Answer>
    Answer settled(Answer answer) {
        settleRestart();
        return answer;
    }
    // The mirror's selection, renames or loaded files, made in the editor.
    void bankEdited();
    // The host's values of the controls and the program, from the mirror;
    // true when one of them changed.
    bool takeValuesFromMirror();
    std::string programName(int slot) const;
    void notifyProgramNames();
    void stopTicking();

    RefCount refs;
    std::unique_ptr<Mirror> mirror;
    HostRef<FUnknown> host;
    HostRef<IComponentHandler> handler;
    HostRef<IConnectionPoint> peer;
    // The host's run loop, when its context offers one: it ticks settleRestart.
    HostRef<IRunLoop> runLoop;
    RunLoopClient* ticker = nullptr;
    std::array<double, params::kCount> values{};
    std::vector<EditorView*> views;
    bool restartOwed = false;
};

}  // namespace vst3
