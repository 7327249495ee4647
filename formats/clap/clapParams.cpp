// The parameter and audio port extensions: the public controls in real units
// with their texts, one main port each way and the side-chain's input.
#include <cstdio>
#include <cstring>
#include <string>

#include "clapExtensionTables.h"
#include "clapInstance.h"
#include "clapValues.h"

namespace {

const controls::Control* controlOf(clapabi::Id id) { return controls::byHostId(id); }

// ------------------------------------------------------------- parameters

// Main thread.
std::uint32_t count(const clapabi::Plugin* plugin) {
    return ClapInstance::enter(plugin, ClapThread::main, "params.count")
               ? static_cast<std::uint32_t>(controls::kCount)
               : 0;
}

bool getInfo(const clapabi::Plugin* plugin, std::uint32_t index, clapabi::ParamInfo* info) {
    if (!ClapInstance::enter(plugin, ClapThread::main, "params.get_info") || !info ||
        index >= static_cast<std::uint32_t>(controls::kCount))
        return false;
    const controls::Control& control = controls::kControls[index];
    std::memset(info, 0, sizeof *info);
    info->id = control.hostId;
    // Every control changes the sound, so changes go through process while active.
    info->flags = clapabi::kParamIsAutomatable | clapabi::kParamRequiresProcess;
    if (clapValues::stepped(control)) info->flags |= clapabi::kParamIsStepped;
    if (control.enumeration) info->flags |= clapabi::kParamIsEnum;
    // No cookie: events are looked up by id.
    info->cookie = nullptr;
    std::snprintf(info->name, sizeof info->name, "%s", control.name);
    info->minValue = control.minimum;
    info->maxValue = control.maximum;
    info->defaultValue = control.defaultValue;
    return true;
}

// Main thread: includes what automation set on the audio thread.
bool getValue(const clapabi::Plugin* plugin, clapabi::Id id, double* value) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "params.get_value");
    const controls::Control* control = controlOf(id);
    if (!self || !control || !value) return false;
    *value = clapValues::shownPlain(self->core().parameters(), *control);
    return true;
}

// Main thread: the display text of the step the value selects (the VST 2.x
// plug-in's for the program's controls).
bool valueToText(const clapabi::Plugin* plugin, clapabi::Id id, double value, char* text,
                 std::uint32_t capacity) {
    const ClapInstance* self =
        ClapInstance::enter(plugin, ClapThread::main, "params.value_to_text");
    const controls::Control* control = controlOf(id);
    if (!self || !control || !text || capacity == 0) return false;
    text[0] = 0;
    const std::optional<int> step = clapValues::stepOfPlain(*control, value);
    if (!step) return false;
    const std::string shown = controls::textOfStep(*control, *step);
    if (shown.size() >= capacity) return false;
    std::memcpy(text, shown.c_str(), shown.size() + 1);
    return true;
}

// Main thread: a label or a number (Output with or without "dB", Mix with
// or without "%"), snapped to the nearest step.
bool textToValue(const clapabi::Plugin* plugin, clapabi::Id id, const char* text, double* value) {
    const ClapInstance* self =
        ClapInstance::enter(plugin, ClapThread::main, "params.text_to_value");
    const controls::Control* control = controlOf(id);
    if (!self || !control || !text || !value) return false;
    const std::optional<int> step = controls::stepOfText(*control, text, controls::TextMatch::nearest);
    if (!step) return false;
    *value = controls::valueOfStep(*control, *step);
    return true;
}

void flush(const clapabi::Plugin* plugin, const clapabi::InputEvents* in,
           const clapabi::OutputEvents* out) {
    if (ClapInstance* self = ClapInstance::enter(plugin, ClapThread::mainOrAudio, "params.flush"))
        self->flush(in, out);
}

// ------------------------------------------------------------ audio ports

// Main thread: one main port each way, sharing buffers if the host likes,
// and the side-chain's input beside the main one, for Key External.
constexpr std::uint32_t portsOf(bool isInput) { return isInput ? 2 : 1; }

std::uint32_t portCount(const clapabi::Plugin* plugin, bool isInput) {
    return ClapInstance::enter(plugin, ClapThread::main, "audio-ports.count") ? portsOf(isInput) : 0;
}

bool portInfo(const clapabi::Plugin* plugin, std::uint32_t index, bool isInput,
              clapabi::AudioPortInfo* info) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "audio-ports.get");
    if (!self || !info || index >= portsOf(isInput)) return false;
    const bool stereo = self->layout().channels == 2;
    const bool key = index == 1;
    std::memset(info, 0, sizeof *info);
    info->id = index;
    std::snprintf(info->name, sizeof info->name, "%s",
                  key ? "Sidechain" : isInput ? "Main In" : "Main Out");
    // The key is read in the main input's sample width, so both take the same one.
    info->flags = clapabi::kAudioPortSupports64Bits | clapabi::kAudioPortRequiresCommonSampleSize;
    if (!key) info->flags |= clapabi::kAudioPortIsMain;
    info->channelCount = self->layout().channels;
    info->portType = stereo ? clapabi::kPortStereo : clapabi::kPortMono;
    // The key is only read: it shares no buffer with the output.
    info->inPlacePair = key ? clapabi::kInvalidId : 0;
    return true;
}

}  // namespace

namespace clapTables {

const clapabi::PluginParams kParams = {count, getInfo, getValue, valueToText, textToValue, flush};
const clapabi::PluginAudioPorts kAudioPorts = {portCount, portInfo};

}  // namespace clapTables
