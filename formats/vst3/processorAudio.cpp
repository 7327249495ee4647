#include "processorAudio.h"

#include <algorithm>
#include <cstring>

#include "core/Compressor.h"

namespace vst3 {

namespace {

// A bus's channel, or null when the bus or the channel is missing.
template <typename Sample>
Sample* channel(const AudioBusBuffers* bus, int c) {
    if (!bus || !bus->channelBuffers || c >= bus->numChannels) return nullptr;
    return static_cast<Sample*>(bus->channelBuffers[c]);
}

}  // namespace

void ProcessorAudio::render(ProcessData& data, Compressor& compressor, int32 from, int32 to,
                            bool mono, bool keyed) {
    if (data.symbolicSampleSize == kSample64)
        run(data, compressor, from, to, mono, keyed, doubles);
    else
        run(data, compressor, from, to, mono, keyed, floats);
}

template <typename Sample>
void ProcessorAudio::run(ProcessData& data, Compressor& compressor, int32 from, int32 to,
                         bool mono, bool keyed, Scratch<Sample>& scratch) {
    const AudioBusBuffers* inBus = data.numInputs > 0 ? data.inputs : nullptr;
    const AudioBusBuffers* keyBus = keyed && data.numInputs > 1 && data.inputs ? data.inputs + 1 : nullptr;
    const AudioBusBuffers* outBus = data.numOutputs > 0 ? data.outputs : nullptr;
    Sample* out0 = channel<Sample>(outBus, 0);
    if (!out0) return;
    Sample* out1 = channel<Sample>(outBus, 1);
    const Sample* in0 = channel<Sample>(inBus, 0);
    const Sample* in1 = channel<Sample>(inBus, 1);
    // No key where the host gave none: the core then listens to the input.
    const Sample* key0 = channel<Sample>(keyBus, 0);
    const Sample* key1 = key0 && !mono ? channel<Sample>(keyBus, 1) : nullptr;
    const int channels = mono ? 1 : 2;
    for (int32 at = from; at < to; at += kChunk) {
        const int32 n = std::min(kChunk, to - at);
        // A stereo bus given one channel processes it as both; its second
        // output goes nowhere.
        const Sample* left = in0 ? in0 + at : scratch.zeros;
        // A mono layout passes the one channel as both.
        const Sample* right = mono ? left : in1 ? in1 + at : left;
        const Sample* ins[2] = {left, right};
        Sample* outs[2] = {out0 + at, mono ? out0 + at : out1 ? out1 + at : scratch.sink};
        // The input is kept before the engine writes: the buffers may be one.
        const bool keep = fade.needsInput();
        if (keep)
            for (int c = 0; c < channels; ++c)
                std::memcpy(scratch.kept[c], ins[c], static_cast<size_t>(n) * sizeof(Sample));
        compressor.process(ins[0], ins[1], outs[0], outs[1], n, key0 ? key0 + at : nullptr,
                           key1 ? key1 + at : nullptr);
        if (keep) {
            const Sample* kept[2] = {scratch.kept[0], scratch.kept[1]};
            fade.mix(outs, kept, channels, n);
        }
    }
}

}  // namespace vst3
