#include "controller.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "bankMessage.h"
#include "editor/ADEditor.h"
#include "editorView.h"
#include "identity.h"
#include "formats/uiEffect.h"
#include "stateStream.h"
#include "text16.h"

namespace vst3 {

namespace {

// What the host itself changed is not reported back to it.
class Muted {
public:
    explicit Muted(HostLink& link) : link(link), was(link.muted) { link.muted = true; }
    ~Muted() { link.muted = was; }
    Muted(const Muted&) = delete;
    Muted& operator=(const Muted&) = delete;

private:
    HostLink& link;
    bool was;
};

const params::Parameter* controlOf(int parameter) {
    const params::Parameter* found = params::byId(static_cast<ParamID>(parameter));
    return parameter >= 0 && found && found->kind == params::Kind::control ? found : nullptr;
}

}  // namespace

Controller::Controller() {
    link.context = this;
    link.automate = automate;
    link.gesture = gesture;
    link.updated = updated;
}

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
    if (effect) return kResultFalse;
    try {
        effect = std::make_unique<UiEffect>(link);
    } catch (...) {
        return kOutOfMemory;
    }
    host.keep(context);
    values.fill(0.0);
    takeValuesFromEffect();
    return kResultOk;
}

tresult Controller::terminate() {
    // Views still open lose their editor before the effect goes.
    for (EditorView* open : std::vector<EditorView*>(views)) open->controllerGone();
    views.clear();
    handler.reset();
    peer.reset();
    host.reset();
    effect.reset();
    return kResultOk;
}

ADEditor* Controller::editor() const {
    return effect ? static_cast<ADEditor*>(effect->getEditor()) : nullptr;
}

void Controller::viewClosing(EditorView* closing) {
    views.erase(std::remove(views.begin(), views.end(), closing), views.end());
}

tresult Controller::setComponentState(IBStream* state) {
    if (!effect) return kNotInitialized;
    if (!state) return kInvalidArgument;
    bool bypass = false, loaded = false;
    {
        Muted quiet(link);
        try {
            loaded = state::load(state, *effect, bypass);
        } catch (...) {
        }
    }
    if (!loaded) return kResultFalse;
    values[static_cast<size_t>(params::indexOf(vst3id::kBypassId))] = bypass ? 1.0 : 0.0;
    takeValuesFromEffect();
    showBankInEditor();
    notifyProgramNames();
    return kResultOk;
}

tresult Controller::getParameterInfo(int32 index, ParameterInfo* info) {
    if (!info) return kInvalidArgument;
    return params::describe(index, *info) ? kResultOk : kInvalidArgument;
}

std::string Controller::programName(int slot) const {
    char name[kProgramNameLength + 1] = {};
    if (CProgram* program = effect ? effect->getBankProgram(slot) : nullptr) program->getName(name);
    // Hosts list no empty names.
    return name[0] ? std::string(name) : "Program " + std::to_string(slot);
}

tresult Controller::getParamStringByValue(ParamID id, ParamValue value, String128 text) {
    const params::Parameter* parameter = params::byId(id);
    if (!text || !parameter) return kInvalidArgument;
    putText16(text, 128, params::textOf(*parameter, value, [this](int slot) { return programName(slot); }));
    return kResultOk;
}

tresult Controller::getParamValueByString(ParamID id, char16* text, ParamValue* value) {
    const params::Parameter* parameter = params::byId(id);
    if (!text || !value || !parameter) return kInvalidArgument;
    const auto read = params::valueOfText(*parameter, textOf16(text, 128),
                                          [this](int slot) { return programName(slot); });
    if (!read) return kResultFalse;
    *value = *read;
    return kResultOk;
}

ParamValue Controller::normalizedParamToPlain(ParamID id, ParamValue value) {
    const params::Parameter* parameter = params::byId(id);
    return parameter ? params::toPlain(*parameter, value) : 0.0;
}

ParamValue Controller::plainParamToNormalized(ParamID id, ParamValue plain) {
    const params::Parameter* parameter = params::byId(id);
    return parameter ? params::toNormalised(*parameter, plain) : 0.0;
}

ParamValue Controller::getParamNormalized(ParamID id) {
    const int32 index = params::indexOf(id);
    return index >= 0 ? values[static_cast<size_t>(index)] : 0.0;
}

tresult Controller::setParamNormalized(ParamID id, ParamValue value) {
    const params::Parameter* parameter = params::byId(id);
    if (!parameter || std::isnan(value)) return kInvalidArgument;
    value = std::clamp(value, 0.0, 1.0);
    values[static_cast<size_t>(params::indexOf(id))] = value;
    if (!effect) return kResultOk;
    const int step = params::stepOf(params::steps(*parameter), value);
    switch (parameter->kind) {
        case params::Kind::control: {
            // Moves the editor's control; a value showing the same step stays.
            const controls::Control& control = *parameter->control;
            if (step != controls::stepOfNormalised(control, effect->getParameter(control.parameter)))
                effect->setParameter(control.parameter, controls::normalisedOfStep(control, step));
            break;
        }
        case params::Kind::program:
            if (step != effect->getCurrentPreset()) {
                {
                    Muted quiet(link);
                    effect->selectPreset(step);
                }
                showBankInEditor();
                // The host hears of the new values later, never from inside
                // its own call: some hosts hold a lock here that a restart
                // request takes again. The processor reports them as output
                // changes; an open editor asks for the restart at its next tick.
                restartOwed = takeValuesFromEffect() || restartOwed;
            }
            break;
        case params::Kind::gainReduction:
            effect->showGainReduction(static_cast<float>(params::toPlain(*parameter, value)));
            break;
        case params::Kind::bypass: break;
    }
    return kResultOk;
}

tresult Controller::setComponentHandler(IComponentHandler* newHandler) {
    handler.keep(newHandler);
    return kResultOk;
}

IPlugView* Controller::createView(FIDString name) {
    if (!name || std::strcmp(name, kEditorViewType) != 0 || !editor()) return nullptr;
    auto* made = new (std::nothrow) EditorView(*this);
    if (made) views.push_back(made);
    return made;
}

tresult Controller::getUnitInfo(int32 index, UnitInfo* info) {
    if (!info || index != 0) return kInvalidArgument;
    info->id = kRootUnitId;
    info->parentUnitId = kNoParentUnitId;
    putText(info->name, "Root");
    info->programListId = vst3id::kProgramListId;
    return kResultOk;
}

tresult Controller::getProgramListInfo(int32 index, ProgramListInfo* info) {
    if (!info || index != 0) return kInvalidArgument;
    info->id = vst3id::kProgramListId;
    putText(info->name, "Programs");
    info->programCount = params::kProgramSteps + 1;
    return kResultOk;
}

tresult Controller::getProgramName(int32 listId, int32 program, String128 name) {
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
tresult Controller::notify(IMessage* message) { return message ? kResultFalse : kInvalidArgument; }

bool Controller::takeValuesFromEffect() {
    bool changed = false;
    auto take = [&](ParamID id, double value) {
        double& held = values[static_cast<size_t>(params::indexOf(id))];
        changed = changed || held != value;
        held = value;
    };
    for (const controls::Control& control : controls::kControls)
        take(static_cast<ParamID>(control.parameter),
             params::normalisedOf(control.steps,
                                  controls::stepOfNormalised(control, effect->getParameter(control.parameter))));
    take(vst3id::kProgramId, params::normalisedOf(params::kProgramSteps, effect->getCurrentPreset()));
    return changed;
}

void Controller::showBankInEditor() {
    ADEditor* shown = editor();
    if (!shown || !shown->getFrame()) return;
    for (int slot = 0; slot <= params::kProgramSteps; ++slot)
        shown->setMenuEntryText(slot == 0 ? 0 : slot + 1, programName(slot).c_str());
    const int current = effect->getCurrentPreset();
    shown->selectMenuEntry(current);
    char name[kProgramNameLength + 1] = {};
    if (CProgram* program = effect->getBankProgram(current)) program->getName(name);
    shown->setNameFieldText(name);
}

void Controller::settleRestart() {
    if (!restartOwed || !handler) return;
    restartOwed = false;
    handler->restartComponent(kParamValuesChanged);
}

void Controller::notifyProgramNames() {
    HostRef<IUnitHandler> units;
    units.adopt(queryHost<IUnitHandler>(handler.get()));
    if (units) units->notifyProgramListChange(vst3id::kProgramListId, -1);
}

void Controller::automate(void* context, int parameter, float normalised) {
    auto* self = static_cast<Controller*>(context);
    const params::Parameter* edited = controlOf(parameter);
    if (!edited) return;
    const controls::Control& control = *edited->control;
    const double value = params::normalisedOf(control.steps, controls::stepOfNormalised(control, normalised));
    double& held = self->values[static_cast<size_t>(params::indexOf(edited->id))];
    // The editor also reports values it did not change (a knob answers its
    // press with the value it has): the host hears changes only.
    if (value == held) return;
    held = value;
    if (self->handler) self->handler->performEdit(edited->id, value);
}

void Controller::gesture(void* context, int parameter, bool begin) {
    auto* self = static_cast<Controller*>(context);
    const params::Parameter* edited = controlOf(parameter);
    if (!edited || !self->handler) return;
    if (begin)
        self->handler->beginEdit(edited->id);
    else
        self->handler->endEdit(edited->id);
}

void Controller::updated(void* context) {
    // The editor selected, renamed or loaded programs: the host hears the
    // selection as an edit of the program parameter, the processor gets the
    // bank, and the host's program menu and project learn of it.
    auto* self = static_cast<Controller*>(context);
    if (!self->effect) return;
    const size_t program = static_cast<size_t>(params::indexOf(vst3id::kProgramId));
    const double before = self->values[program];
    self->takeValuesFromEffect();
    if (self->values[program] != before && self->handler) {
        self->handler->beginEdit(vst3id::kProgramId);
        self->handler->performEdit(vst3id::kProgramId, self->values[program]);
        self->handler->endEdit(vst3id::kProgramId);
    }
    bankMessage::send(self->host.get(), self->peer.get(), *self->effect);
    self->notifyProgramNames();
    HostRef<IComponentHandler2> handler2;
    handler2.adopt(queryHost<IComponentHandler2>(self->handler.get()));
    if (handler2) handler2->setDirty(1);
}

}  // namespace vst3
