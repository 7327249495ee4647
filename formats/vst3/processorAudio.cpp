#include "processorAudio.h"

#include <algorithm>
#include <cstring>

#include "processorEffect.h"

namespace vst3 {

namespace {

void engine(ProcessorEffect& effect, float** in, float** out, int32 n) {
    effect.processReplacing(in, out, n);
}
void engine(ProcessorEffect& effect, double** in, double** out, int32 n) {
    effect.processDoubleReplacing(in, out, n);
}

// A bus's channel, or null when the bus or the channel is missing.
template <typename Sample>
Sample* channel(const AudioBusBuffers* bus, int c) {
    if (!bus || !bus->channelBuffers || c >= bus->numChannels) return nullptr;
    return static_cast<Sample*>(bus->channelBuffers[c]);
}

}  // namespace

void ProcessorAudio::render(ProcessData& data, ProcessorEffect& effect, int32 from, int32 to,
                            bool mono) {
    if (data.symbolicSampleSize == kSample64)
        run(data, effect, from, to, mono, doubles);
    else
        run(data, effect, from, to, mono, floats);
}

template <typename Sample>
void ProcessorAudio::run(ProcessData& data, ProcessorEffect& effect, int32 from, int32 to,
                         bool mono, Scratch<Sample>& scratch) {
    const AudioBusBuffers* inBus = data.numInputs > 0 ? data.inputs : nullptr;
    const AudioBusBuffers* outBus = data.numOutputs > 0 ? data.outputs : nullptr;
    Sample* out0 = channel<Sample>(outBus, 0);
    if (!out0) return;
    Sample* out1 = channel<Sample>(outBus, 1);
    const Sample* in0 = channel<Sample>(inBus, 0);
    const Sample* in1 = channel<Sample>(inBus, 1);
    const int channels = mono ? 1 : 2;
    for (int32 at = from; at < to; at += kChunk) {
        const int32 n = std::min(kChunk, to - at);
        // A stereo bus given one channel processes it as both; its second
        // output goes nowhere.
        const Sample* left = in0 ? in0 + at : scratch.zeros;
        const Sample* right = mono ? left : in1 ? in1 + at : left;
        Sample* ins[2] = {const_cast<Sample*>(left), const_cast<Sample*>(right)};
        Sample* outs[2] = {out0 + at, mono ? out0 + at : out1 ? out1 + at : scratch.sink};
        // The input is kept before the engine writes: the buffers may be one.
        const bool keep = fade.needsInput();
        if (keep)
            for (int c = 0; c < channels; ++c)
                std::memcpy(scratch.kept[c], ins[c], static_cast<size_t>(n) * sizeof(Sample));
        engine(effect, ins, outs, n);
        if (keep) {
            const Sample* kept[2] = {scratch.kept[0], scratch.kept[1]};
            fade.mix(outs, kept, channels, n);
        }
    }
}

}  // namespace vst3
