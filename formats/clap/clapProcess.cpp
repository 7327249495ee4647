// The audio thread's side of an instance: process with its events applied at
// their frames, flush, and the editor's edits sent out. Nothing here
// allocates, locks, calls the host's main-thread functions or touches the
// editor or the bank.
#include <algorithm>
#include <cstring>

#include "clapExtensionTables.h"
#include "clapInstance.h"
#include "clapValues.h"

namespace {

// The engine is fed at most this many frames per call, as in the LV2 build.
constexpr std::uint32_t kLargestRun = 65536;

enum class Width { none, single, twice };

Width widthOf(const clapabi::AudioBuffer& buffer, std::uint32_t channels) {
    if (buffer.channelCount != channels) return Width::none;
    if (buffer.data32) {
        for (std::uint32_t c = 0; c < channels; ++c)
            if (!buffer.data32[c]) return Width::none;
        return Width::single;
    }
    if (buffer.data64) {
        for (std::uint32_t c = 0; c < channels; ++c)
            if (!buffer.data64[c]) return Width::none;
        return Width::twice;
    }
    return Width::none;
}

// Whatever output the host gave is silent after a refused block.
void silence(const clapabi::Process& process) {
    if (!process.audioOutputs) return;
    for (std::uint32_t p = 0; p < process.audioOutputsCount; ++p) {
        const clapabi::AudioBuffer& out = process.audioOutputs[p];
        for (std::uint32_t c = 0; c < out.channelCount; ++c) {
            if (out.data32 && out.data32[c])
                std::memset(out.data32[c], 0, process.framesCount * sizeof(float));
            else if (out.data64 && out.data64[c])
                std::memset(out.data64[c], 0, process.framesCount * sizeof(double));
        }
    }
}

// The channels of a buffer in one sample width; null in the other.
template <typename Sample>
Sample* const* channelsOf(const clapabi::AudioBuffer& buffer) {
    if constexpr (sizeof(Sample) == sizeof(float))
        return buffer.data32;
    else
        return buffer.data64;
}

// The side-chain port's channels as the compressor takes them: none where
// the host gave no buffers for it (or not in the main input's width), and
// one channel as both when the plug-in or the port is mono.
template <typename Sample>
ClapKey<Sample> keyOf(const clapabi::Process& block, std::uint32_t channels) {
    ClapKey<Sample> key;
    if (block.audioInputsCount < 2 || !block.audioInputs) return key;
    const clapabi::AudioBuffer& port = block.audioInputs[1];
    Sample* const* data = channelsOf<Sample>(port);
    if (!data || port.channelCount == 0 || !data[0]) return key;
    key.left = data[0];
    if (channels == 2 && port.channelCount >= 2) key.right = data[1];
    return key;
}

std::uint32_t eventCount(const clapabi::InputEvents* in) {
    return in && in->size && in->get ? in->size(in) : 0;
}

}  // namespace

void ClapInstance::applyEvent(const clapabi::EventHeader& event) {
    if (event.spaceId != clapabi::kCoreEventSpace || event.type != clapabi::kEventParamValue ||
        event.size < sizeof(clapabi::EventParamValue))
        return;
    const auto& change = reinterpret_cast<const clapabi::EventParamValue&>(event);
    // Looked up by id: a cookie is never needed, so a stale one cannot hurt.
    const controls::Control* control = controls::byHostId(change.paramId);
    if (!control) return;
    const std::optional<int> step = clapValues::stepOfPlain(*control, change.value);
    if (step) clapValues::applyStep(compressor.parameters(), *control, *step);
}

void ClapInstance::flush(const clapabi::InputEvents* in, const clapabi::OutputEvents* out) {
    port.sendEdits(out);
    const std::uint32_t count = eventCount(in);
    for (std::uint32_t i = 0; i < count; ++i)
        if (const clapabi::EventHeader* event = in->get(in, i)) applyEvent(*event);
}

template <typename Sample>
void ClapInstance::render(Sample* const* in, Sample* const* out, const ClapKey<Sample>& key,
                          std::uint32_t from, std::uint32_t to) {
    const bool stereo = variant.channels == 2;
    while (from < to) {
        const std::uint32_t run = std::min(to - from, kLargestRun);
        // The engine reads every input of a run before it writes that run's
        // outputs, so an input may share its buffer with an output. One
        // channel is passed as both.
        const Sample* inL = in[0] + from;
        Sample* outL = out[0] + from;
        compressor.process(inL, stereo ? in[1] + from : inL, outL, stereo ? out[1] + from : outL,
                           static_cast<Compressor::int32>(run), key.left ? key.left + from : nullptr,
                           key.right ? key.right + from : nullptr);
        from += run;
    }
}

clapabi::ProcessStatus ClapInstance::process(const clapabi::Process& block) {
    if (!active.load(std::memory_order_relaxed) || !processing.load(std::memory_order_relaxed)) {
        silence(block);
        return clapabi::kProcessError;
    }
    port.sendEdits(block.outEvents);

    // A host may leave the side-chain out (one input) or give it with no buffers.
    Width width = Width::none;
    if (block.audioInputsCount >= 1 && block.audioOutputsCount == 1 && block.audioInputs &&
        block.audioOutputs) {
        const Width in = widthOf(block.audioInputs[0], variant.channels);
        const Width out = widthOf(block.audioOutputs[0], variant.channels);
        if (in == out) width = in;
    }
    const std::uint32_t frames = block.framesCount;
    const std::uint32_t count = eventCount(block.inEvents);
    const ClapKey<float> key32 = keyOf<float>(block, variant.channels);
    const ClapKey<double> key64 = keyOf<double>(block, variant.channels);
    std::uint32_t done = 0;
    auto renderTo = [&](std::uint32_t to) {
        if (width == Width::single)
            render(block.audioInputs[0].data32, block.audioOutputs[0].data32, key32, done, to);
        else if (width == Width::twice)
            render(block.audioInputs[0].data64, block.audioOutputs[0].data64, key64, done, to);
        done = to;
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        const clapabi::EventHeader* event = block.inEvents->get(block.inEvents, i);
        if (!event) continue;
        // Times past the block are taken at its last frame, times out of
        // order where the previous event was.
        const std::uint32_t at = std::max(done, frames ? std::min(event->time, frames - 1) : 0u);
        renderTo(at);
        applyEvent(*event);
    }
    renderTo(frames);
    if (width == Width::none) {
        // Buffers we cannot process: the values above are taken all the same.
        silence(block);
        return clapabi::kProcessError;
    }
    block.audioOutputs[0].constantMask = 0;
    return clapabi::kProcessContinue;
}

namespace {

// Audio thread: the draft meter extension, read by hosts that show it.
double gainAdjustment(const clapabi::Plugin* plugin) {
    const ClapInstance* self =
        ClapInstance::enter(plugin, ClapThread::audio, "gain-adjustment-metering.get");
    return self ? self->gainAdjustment() : 0.0;
}

}  // namespace

namespace clapTables {

const clapabi::PluginGainAdjustmentMetering kGainAdjustmentMetering = {gainAdjustment};

}  // namespace clapTables
