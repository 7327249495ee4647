#include "controller.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>

#include "bankMessage.h"
#include "core/editorModel.h"
#include "core/hostPort.h"
#include "core/parameters.h"
#include "core/programs/ProgramBank.h"
#include "editor/ADEditor.h"
#include "editorView.h"
#include "identity.h"
#include "runLoopClient.h"
#include "stateStream.h"
#include "text16.h"

namespace vst3 {

namespace {

// A program the host chose is told back to it about this soon when no editor is open.
constexpr uint64 kTickMilliseconds = 50;

// The host's parameter behind a core parameter index, when it is a control.
const params::Parameter* controlOf(int parameter) {
    const controls::Control* control = controls::byParameter(parameter);
    return control ? params::byId(control->hostId) : nullptr;
}

size_t indexOf(ParamID id) { return static_cast<size_t>(params::indexOf(id)); }

}  // namespace

// The editor's edits as the host hears them: the five controls as edit
// gestures, a changed bank as a program edit, a bank message and a dirty project.
class Controller::Port final : public HostPort {
public:
    explicit Port(Controller& owner) : owner(owner) {}
    void beginEdit(int parameter) override {
        if (const params::Parameter* edited = controlOf(parameter); edited && owner.handler)
            owner.handler->beginEdit(edited->id);
    }
    void endEdit(int parameter) override {
        if (const params::Parameter* edited = controlOf(parameter); edited && owner.handler)
            owner.handler->endEdit(edited->id);
    }
    void automate(int parameter, float normalised) override {
        const params::Parameter* edited = controlOf(parameter);
        if (!edited) return;
        const controls::Control& control = *edited->control;
        const double value =
            params::normalisedOf(control.steps, controls::stepOfNormalised(control, normalised));
        double& held = owner.values[indexOf(edited->id)];
        // The editor also reports values it did not change (a knob answers its
        // press with the value it has): the host hears changes only.
        if (value == held) return;
        held = value;
        if (owner.handler) owner.handler->performEdit(edited->id, value);
    }
    void updateDisplay() override { owner.bankEdited(); }

private:
    Controller& owner;
};

// What the controller knows of the processor's state, to show and edit it.
struct Controller::Mirror {
    explicit Mirror(Controller& owner) : port(owner) { bank.setProgram(0); }
    Parameters parameters;
    ProgramBank bank{parameters};
    // The processor's meter reading, from the gain-reduction value the host passes on.
    std::atomic<double> meter{1.0};
    Port port;
    EditorModel model{parameters, &bank, &port, &meter};
    std::unique_ptr<ADEditor> editor;  // made when a view first asks; goes before the model
};

Controller::Controller() = default;

Controller::~Controller() { terminate(); }

tresult Controller::queryInterface(const Uid& iid, void** obj) {
    if (!obj) return kInvalidArgument;
    if (offer<IEditController>(iid, this, obj) || offer<IEditController2>(iid, this, obj) ||
        offer<IUnitInfo>(iid, this, obj) || offer<IConnectionPoint>(iid, this, obj))
        return kResultOk;
    return answerRoot(iid, static_cast<IEditController*>(this), obj, IPluginBase::iid);
}

uint32 Controller::release() {
    const uint32 left = refs.down();
    if (left == 0) delete this;
    return left;
}

tresult Controller::initialize(FUnknown* context) {
    if (mirror) return kResultFalse;
    try {
        mirror = std::make_unique<Mirror>(*this);
    } catch (...) {
        return kOutOfMemory;
    }
    host.keep(context);
    values.fill(0.0);
    takeValuesFromMirror();
    // With no editor open, the host's loop carries a program's restart request.
    runLoop.adopt(queryHost<IRunLoop>(context));
    if (runLoop) {
        ticker = new (std::nothrow) RunLoopClient(
            [](void* self) { static_cast<Controller*>(self)->settleRestart(); }, this);
        if (!ticker || runLoop->registerTimer(ticker, kTickMilliseconds) != kResultOk) stopTicking();
    }
    return kResultOk;
}

void Controller::stopTicking() {
    if (ticker) {
        runLoop->unregisterTimer(ticker);
        ticker->forget();
        ticker->release();
        ticker = nullptr;
    }
    runLoop.reset();
}

tresult Controller::terminate() {
    // Views still open lose their editor before the mirror goes.
    for (EditorView* open : std::vector<EditorView*>(views)) open->controllerGone();
    views.clear();
    stopTicking();
    handler.reset();
    peer.reset();
    host.reset();
    mirror.reset();
    restartOwed = false;
    return kResultOk;
}

ADEditor* Controller::editor() {
    if (!mirror) return nullptr;
    if (!mirror->editor) {
        try {
            mirror->editor = std::make_unique<ADEditor>(mirror->model);
            mirror->editor->offerStrip();
        } catch (...) {
            return nullptr;
        }
    }
    return mirror->editor.get();
}

void Controller::viewClosing(EditorView* closing) {
    views.erase(std::remove(views.begin(), views.end(), closing), views.end());
}

tresult Controller::setComponentState(IBStream* state) {
    settleRestart();
    if (!mirror) return kNotInitialized;
    if (!state) return kInvalidArgument;
    bool bypass = false, loaded = false;
    // The processor never opens the strip: its block's value is no news.
    const float strip = mirror->parameters.get(kEditorStripParameter);
    // Silently: the host restores its controls itself.
    try {
        loaded = state::load(state, mirror->bank, mirror->parameters, bypass);
    } catch (...) {
    }
    mirror->parameters.set(kEditorStripParameter, strip);
    if (!loaded) return kResultFalse;
    values[indexOf(vst3id::kBypassId)] = bypass ? 1.0 : 0.0;
    takeValuesFromMirror();
    notifyProgramNames();
    return kResultOk;
}

tresult Controller::setState(IBStream* state) {
    settleRestart();
    if (!mirror) return kNotInitialized;
    bool open = false;
    try {
        open = state::loadEditor(state);
    } catch (...) {
    }
    mirror->parameters.set(kEditorStripParameter, open ? 1.0f : 0.0f);
    return kResultOk;
}

tresult Controller::getState(IBStream* state) {
    settleRestart();
    if (!mirror) return kNotInitialized;
    if (!state) return kInvalidArgument;
    return state::saveEditor(state, mirror->parameters.get(kEditorStripParameter) >= 0.5f) ? kResultOk
                                                                                          : kResultFalse;
}

tresult Controller::getParameterInfo(int32 index, ParameterInfo* info) {
    settleRestart();
    if (!info) return kInvalidArgument;
    return params::describe(index, *info) ? kResultOk : kInvalidArgument;
}

std::string Controller::programName(int slot) const {
    char name[kProgramNameLength + 1] = {};
    if (CProgram* program = mirror ? mirror->bank.getBankProgram(slot) : nullptr) program->getName(name);
    // Hosts list no empty names.
    return name[0] ? std::string(name) : "Program " + std::to_string(slot);
}

tresult Controller::getParamStringByValue(ParamID id, ParamValue value, String128 text) {
    settleRestart();
    const params::Parameter* parameter = params::byId(id);
    if (!text || !parameter) return kInvalidArgument;
    putText16(text, 128, params::textOf(*parameter, value, [this](int slot) { return programName(slot); }));
    return kResultOk;
}

tresult Controller::getParamValueByString(ParamID id, char16* text, ParamValue* value) {
    settleRestart();
    const params::Parameter* parameter = params::byId(id);
    if (!text || !value || !parameter) return kInvalidArgument;
    const auto read = params::valueOfText(*parameter, textOf16(text, 128),
                                          [this](int slot) { return programName(slot); });
    if (!read) return kResultFalse;
    *value = *read;
    return kResultOk;
}

ParamValue Controller::normalizedParamToPlain(ParamID id, ParamValue value) {
    settleRestart();
    const params::Parameter* parameter = params::byId(id);
    return parameter ? params::toPlain(*parameter, value) : 0.0;
}

ParamValue Controller::plainParamToNormalized(ParamID id, ParamValue plain) {
    settleRestart();
    const params::Parameter* parameter = params::byId(id);
    return parameter ? params::toNormalised(*parameter, plain) : 0.0;
}

ParamValue Controller::getParamNormalized(ParamID id) {
    settleRestart();
    const int32 index = params::indexOf(id);
    return index >= 0 ? values[static_cast<size_t>(index)] : 0.0;
}

tresult Controller::setParamNormalized(ParamID id, ParamValue value) {
    const params::Parameter* parameter = params::byId(id);
    if (!parameter || std::isnan(value)) return kInvalidArgument;
    value = std::clamp(value, 0.0, 1.0);
    values[indexOf(id)] = value;
    if (!mirror) return kResultOk;
    const int step = params::stepOf(params::steps(*parameter), value);
    switch (parameter->kind) {
        case params::Kind::control: {
            // The editor shows it at its next idle; a value showing the same step stays.
            const controls::Control& control = *parameter->control;
            Parameters& mirrored = mirror->parameters;
            if (step != controls::stepOfNormalised(control, mirrored.get(control.parameter)))
                mirrored.set(control.parameter, controls::normalisedOfStep(control, step));
            break;
        }
        case params::Kind::program:
            if (step != mirror->bank.getCurrentPreset()) {
                // The host's own choice: nothing told back from inside its call.
                mirror->bank.selectPreset(step);
                // Its values are the host's at once; the host is asked to
                // read them again at its next call or loop tick.
                restartOwed = takeValuesFromMirror() || restartOwed;
            }
            break;
        case params::Kind::gainReduction: {
            const auto decibels = static_cast<float>(params::toPlain(*parameter, value));
            mirror->meter.store(std::pow(10.0, -decibels / 20.0), std::memory_order_relaxed);
            break;
        }
        case params::Kind::bypass: break;
    }
    return kResultOk;
}

tresult Controller::setComponentHandler(IComponentHandler* newHandler) {
    handler.keep(newHandler);
    return kResultOk;
}

IPlugView* Controller::createView(FIDString name) {
    settleRestart();
    if (!name || std::strcmp(name, kEditorViewType) != 0 || !editor()) return nullptr;
    auto* made = new (std::nothrow) EditorView(*this);
    if (made) views.push_back(made);
    return made;
}

tresult Controller::getUnitInfo(int32 index, UnitInfo* info) {
    settleRestart();
    if (!info || index != 0) return kInvalidArgument;
    info->id = kRootUnitId;
    info->parentUnitId = kNoParentUnitId;
    putText(info->name, "Root");
    info->programListId = vst3id::kProgramListId;
    return kResultOk;
}

tresult Controller::getProgramListInfo(int32 index, ProgramListInfo* info) {
    settleRestart();
    if (!info || index != 0) return kInvalidArgument;
    info->id = vst3id::kProgramListId;
    putText(info->name, "Programs");
    info->programCount = params::kProgramSteps + 1;
    return kResultOk;
}

tresult Controller::getProgramName(int32 listId, int32 program, String128 name) {
    settleRestart();
    if (!name || listId != vst3id::kProgramListId || program < 0 || program > params::kProgramSteps)
        return kInvalidArgument;
    putText16(name, 128, programName(program));
    return kResultOk;
}

tresult Controller::connect(IConnectionPoint* other) {
    if (!other) return kInvalidArgument;
    if (peer) return kResultFalse;
    peer.keep(other);
    return kResultOk;
}

tresult Controller::disconnect(IConnectionPoint* other) {
    if (!other || other != peer.get()) return kInvalidArgument;
    peer.reset();
    return kResultOk;
}

// The processor sends nothing; whatever arrives is not ours.
tresult Controller::notify(IMessage* message) {
    settleRestart();
    return message ? kResultFalse : kInvalidArgument;
}

bool Controller::takeValuesFromMirror() {
    bool changed = false;
    auto take = [&](ParamID id, double value) {
        double& held = values[indexOf(id)];
        changed = changed || held != value;
        held = value;
    };
    for (const controls::Control& control : controls::kControls)
        take(static_cast<ParamID>(control.hostId),
             params::normalisedOf(control.steps, controls::stepOfNormalised(
                                                     control, mirror->parameters.get(control.parameter))));
    take(vst3id::kProgramId, params::normalisedOf(params::kProgramSteps, mirror->bank.getCurrentPreset()));
    return changed;
}

void Controller::settleRestart() {
    if (!restartOwed || !handler) return;
    // Cleared first: the host reads the values again from inside the request.
    restartOwed = false;
    handler->restartComponent(kParamValuesChanged);
}

void Controller::notifyProgramNames() {
    HostRef<IUnitHandler> units;
    units.adopt(queryHost<IUnitHandler>(handler.get()));
    if (units) units->notifyProgramListChange(vst3id::kProgramListId, -1);
}

void Controller::bankEdited() {
    // The editor selected, renamed or loaded programs: the host hears the
    // selection as an edit of the program parameter, the processor gets the
    // bank, and the host's program menu and project learn of it.
    if (!mirror) return;
    const size_t program = indexOf(vst3id::kProgramId);
    const double before = values[program];
    takeValuesFromMirror();
    if (values[program] != before && handler) {
        handler->beginEdit(vst3id::kProgramId);
        handler->performEdit(vst3id::kProgramId, values[program]);
        handler->endEdit(vst3id::kProgramId);
    }
    bankMessage::send(host.get(), peer.get(), mirror->bank);
    notifyProgramNames();
    HostRef<IComponentHandler2> handler2;
    handler2.adopt(queryHost<IComponentHandler2>(handler.get()));
    if (handler2) handler2->setDirty(1);
}

}  // namespace vst3
