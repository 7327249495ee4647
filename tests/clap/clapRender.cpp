#include "clapRender.h"

#include <algorithm>

#include "tools/referenceRun.h"

namespace {

// A port's buffer over `channels`, in the width of the samples.
template <typename Sample>
clapabi::AudioBuffer bufferOf(std::vector<Sample*>& channels) {
    clapabi::AudioBuffer buffer{};
    if (channels.empty()) return buffer;
    if constexpr (sizeof(Sample) == sizeof(float))
        buffer.data32 = reinterpret_cast<float**>(channels.data());
    else
        buffer.data64 = reinterpret_cast<double**>(channels.data());
    buffer.channelCount = static_cast<std::uint32_t>(channels.size());
    return buffer;
}

}  // namespace

template <typename Sample>
Signal<Sample> renderClap(TestClapHost& host, const Signal<Sample>& in,
                          const std::vector<std::uint32_t>& blocks,
                          const std::vector<ParamChange>& changes, bool inPlace,
                          RenderResult* result, const Signal<Sample>* key) {
    const std::size_t channels = in.size();
    const auto frames = static_cast<std::uint32_t>(in[0].size());
    Signal<Sample> source = in;
    Signal<Sample> out(channels, std::vector<Sample>(frames, Sample(0)));
    Signal<Sample>& written = inPlace ? source : out;
    RenderResult counts;
    host.startProcessing();
    host.audio.run([&] {
        InputEventList events;
        OutputEventList sent;
        std::size_t nextChange = 0, nextBlock = 0;
        std::vector<Sample*> inputs(channels), outputs(channels), keys(key ? key->size() : 0);
        for (std::uint32_t start = 0; start < frames;) {
            const std::uint32_t size = std::min(blocks[nextBlock++ % blocks.size()], frames - start);
            events.clear();
            while (nextChange < changes.size() && changes[nextChange].frame < start + size) {
                const ParamChange& c = changes[nextChange++];
                events.add(c.frame > start ? c.frame - start : 0, c.id, c.value);
            }
            for (std::size_t ch = 0; ch < channels; ++ch) {
                inputs[ch] = source[ch].data() + start;
                outputs[ch] = written[ch].data() + start;
            }
            for (std::size_t ch = 0; ch < keys.size(); ++ch)
                keys[ch] = const_cast<Sample*>((*key)[ch].data()) + start;
            const clapabi::AudioBuffer input[2] = {bufferOf(inputs), bufferOf(keys)};
            clapabi::AudioBuffer output = bufferOf(outputs);
            clapabi::Process process{};
            process.steadyTime = start;
            process.framesCount = size;
            process.audioInputs = input;
            process.audioOutputs = &output;
            process.audioInputsCount = key ? 2 : 1;
            process.audioOutputsCount = 1;
            process.inEvents = events.list();
            process.outEvents = sent.list();
            if (host.plugin->process(host.plugin, &process) == clapabi::kProcessError) ++counts.errors;
            ++counts.blocks;
            start += size;
        }
    });
    host.stopProcessing();
    if (result) *result = counts;
    return written;
}

template Signal<float> renderClap(TestClapHost&, const Signal<float>&,
                                  const std::vector<std::uint32_t>&,
                                  const std::vector<ParamChange>&, bool, RenderResult*,
                                  const Signal<float>*);
template Signal<double> renderClap(TestClapHost&, const Signal<double>&,
                                   const std::vector<std::uint32_t>&,
                                   const std::vector<ParamChange>&, bool, RenderResult*,
                                   const Signal<double>*);

clapabi::ProcessStatus processInPlace(const clapabi::Plugin* plugin, Signal<float>& io,
                                      std::uint32_t start, std::uint32_t frames,
                                      const InputEventList& events) {
    std::vector<float*> channels;
    for (auto& channel : io) channels.push_back(channel.data() + start);
    clapabi::AudioBuffer buffer = bufferOf(channels);
    OutputEventList sent;
    const clapabi::Process process{-1, frames, nullptr, &buffer, &buffer, 1, 1, events.list(), sent.list()};
    return plugin->process(plugin, &process);
}

Signal<double> burstSignal(int channels, int frames) {
    std::vector<double> left, right;
    reference::makeInput(left, right);
    Signal<double> out(static_cast<std::size_t>(channels), std::vector<double>(static_cast<std::size_t>(frames)));
    for (int i = 0; i < frames; ++i) {
        const auto at = static_cast<std::size_t>(i % reference::kFrames);
        out[0][static_cast<std::size_t>(i)] = left[at];
        if (channels > 1) out[1][static_cast<std::size_t>(i)] = right[at];
    }
    return out;
}
