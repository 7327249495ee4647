// The instance's life cycle and its link to the effect: construction, the
// host's extensions, activation, and the editor's edits on their way out.
#include "clapInstance.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "clapEditor.h"
#include "clapExtensionTables.h"
#include "clapValues.h"
#include "editor/ADEditor.h"

namespace {

template <typename Extension>
const Extension* hostExtension(const clapabi::Host* host, const char* id) {
    if (!host || !host->getExtension) return nullptr;
    return static_cast<const Extension*>(host->getExtension(host, id));
}

}  // namespace

ClapInstance::ClapInstance(const ClapVariant& variant, const clapabi::Host* host)
    : variant(variant),
      hostRecord(host),
      effect(std::make_unique<AutoComp>(linkedHostCallback)) {
    effect->getAeffect()->user = &link;
    if (variant.channels == 1) {
        // The VST 2.x plug-in's 1-in-1-out arrangement, as the LV2 mono plug-in.
        vst2::VstSpeakerArrangement in{}, out{};
        in.numChannels = 1;
        out.numChannels = 1;
        effect->setSpeakerArrangement(&in, &out);
    }
    editor = std::make_unique<ClapEditor>(*this);
    link.automate = automate;
    link.gesture = gesture;
    link.updated = updated;
    link.context = this;
    plugin = clapTables::kPluginFunctions;
    plugin.desc = variant.descriptor;
    plugin.pluginData = this;
}

ClapInstance::~ClapInstance() {
    // The editor lets go of the host's timer and descriptor first.
    editor.reset();
    if (active) effect->suspend();
    link = HostLink();
}

ClapInstance* ClapInstance::of(const clapabi::Plugin* plugin) {
    if (!plugin) return nullptr;
    auto* self = static_cast<ClapInstance*>(plugin->pluginData);
    return self && self->record() == plugin ? self : nullptr;
}

bool ClapInstance::init() {
    if (initialised) return true;
    extensions.params = hostExtension<clapabi::HostParams>(hostRecord, clapabi::kExtParams);
    extensions.state = hostExtension<clapabi::HostState>(hostRecord, clapabi::kExtState);
    extensions.timer =
        hostExtension<clapabi::HostTimerSupport>(hostRecord, clapabi::kExtTimerSupport);
    extensions.fd =
        hostExtension<clapabi::HostPosixFdSupport>(hostRecord, clapabi::kExtPosixFdSupport);
    extensions.log = hostExtension<clapabi::HostLog>(hostRecord, clapabi::kExtLog);
    extensions.presetLoad =
        hostExtension<clapabi::HostPresetLoad>(hostRecord, clapabi::kExtPresetLoad);
    if (!extensions.presetLoad)
        extensions.presetLoad =
            hostExtension<clapabi::HostPresetLoad>(hostRecord, clapabi::kExtPresetLoadCompat);
    initialised = true;
    return true;
}

bool ClapInstance::activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    if (active) {
        log(clapabi::kLogHostMisbehaving, "activate: already active");
        return false;
    }
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0 || maxFrames == 0 ||
        maxFrames > 0x7FFFFFFFu || minFrames > maxFrames) {
        log(clapabi::kLogHostMisbehaving, "activate: no usable sample rate or block sizes");
        return false;
    }
    // Rates the engine was not designed for fall back inside resume, as in
    // the VST 2.x plug-in.
    effect->setSampleRate(static_cast<float>(sampleRate));
    effect->setBlockSize(static_cast<vst2::int32>(maxFrames));
    effect->resume();
    active = true;
    return true;
}

void ClapInstance::deactivate() {
    if (!active) return;
    if (processing.load()) {
        // The audio thread may still be inside process: leaving the engine
        // alone is the only safe answer.
        log(clapabi::kLogHostMisbehaving, "deactivate: still processing; ignored");
        return;
    }
    effect->suspend();
    active = false;
}

bool ClapInstance::startProcessing() {
    if (!active) return false;
    processing.store(true);
    return true;
}

void ClapInstance::stopProcessing() { processing.store(false); }

void ClapInstance::reset() {
    if (active) effect->clearEngine();
}

double ClapInstance::gainAdjustment() const {
    if (!processing.load(std::memory_order_relaxed)) return 0.0;
    return -static_cast<double>(controls::gainReductionDb(effect->getMeterReading()));
}

void ClapInstance::log(std::int32_t severity, const char* message) const {
    if (extensions.log && extensions.log->log) extensions.log->log(hostRecord, severity, message);
}

// ------------------------------------------------------------ programs

bool ClapInstance::loadProgram(int slot) {
    if (slot < 1 || slot >= kBankPrograms) return false;
    // The host hears of the new values through one rescan, not as automation.
    restoring = true;
    effect->selectPreset(slot);
    restoring = false;
    tellHostEdited();
    return true;
}

void ClapInstance::tellHostEdited() {
    if (extensions.params && extensions.params->rescan)
        extensions.params->rescan(hostRecord, clapabi::kParamRescanValues);
    if (extensions.state && extensions.state->markDirty)
        extensions.state->markDirty(hostRecord);
}

void ClapInstance::showParameterChanges() {
    std::uint32_t changed = unshownChanges.exchange(0);
    auto* view = static_cast<ADEditor*>(effect->getEditor());
    for (int parameter = 0; changed && view; ++parameter, changed >>= 1)
        if (changed & 1u) view->setParameter(parameter, effect->getParameter(parameter));
}

// ------------------------------------------------- the editor's edits

void ClapInstance::automate(void* context, int parameter, float) {
    auto* self = static_cast<ClapInstance*>(context);
    if (self->restoring || !controls::byParameter(parameter)) return;
    const unsigned bit = 1u << parameter;
    if (self->openGestures & bit) {
        self->queueValue(static_cast<std::uint32_t>(parameter));
        return;
    }
    // Another control's held value cannot belong to this gesture.
    self->heldValues &= ~bit;
    self->sendHeldEdits();
    self->heldValues = bit;
}

void ClapInstance::gesture(void* context, int parameter, bool begin) {
    auto* self = static_cast<ClapInstance*>(context);
    if (self->restoring || !controls::byParameter(parameter)) return;
    const unsigned bit = 1u << parameter;
    const auto id = static_cast<std::uint32_t>(parameter);
    if (begin) {
        const bool held = self->heldValues & bit;
        self->heldValues &= ~bit;
        self->sendHeldEdits();
        // A begin goes out only with room for its end.
        if (!(self->openGestures & bit) && self->queueEdit({EditRecord::Kind::gestureBegin, id}, 1)) {
            self->openGestures |= bit;
            if (held) self->queueValue(id);
        }
    } else if (self->openGestures & bit) {
        // An end only for a begin the host was given.
        self->queueEdit({EditRecord::Kind::gestureEnd, id}, 0);
        self->openGestures &= ~bit;
    }
}

void ClapInstance::queueValue(std::uint32_t paramId) {
    const EditRecord record{EditRecord::Kind::value, paramId};
    // A drag's stream of values: the record still waiting behind another one
    // will carry the latest value anyway.
    if (edits.waiting() >= 2 && lastQueued.kind == record.kind && lastQueued.paramId == paramId) return;
    // Room stays for the end of every gesture still open.
    std::size_t owed = 0;
    for (unsigned open = openGestures; open; open >>= 1) owed += open & 1u;
    queueEdit(record, owed);
}

void ClapInstance::sendHeldEdits() {
    for (std::uint32_t parameter = 0; heldValues; ++parameter, heldValues >>= 1)
        if (heldValues & 1u) queueValue(parameter);
}

void ClapInstance::updated(void* context) {
    // A program chosen, renamed or recalled in the editor: new values and a
    // bank the host saves with the project.
    auto* self = static_cast<ClapInstance*>(context);
    if (self->restoring) return;
    self->sendHeldEdits();
    self->tellHostEdited();
}

bool ClapInstance::queueEdit(const EditRecord& record, std::size_t keepFree) {
    if (!edits.push(record, keepFree)) return false;
    lastQueued = record;
    requestFlush();
    return true;
}

void ClapInstance::requestFlush() {
    // Once until the edits are drained: the host's answer takes them all.
    if (flushRequested.exchange(true)) return;
    if (extensions.params && extensions.params->requestFlush)
        extensions.params->requestFlush(hostRecord);
    else if (hostRecord && hostRecord->requestProcess)
        hostRecord->requestProcess(hostRecord);
}
