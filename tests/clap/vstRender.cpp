#include "vstRender.h"

#include <algorithm>

#include "tests/formats/vstReference.h"

template <typename Sample>
Signal<Sample> renderVst(double rate, bool mono, const Signal<Sample>& in,
                         const std::vector<VstChange>& changes) {
    VstReference reference(rate, mono);
    TestHost& host = reference.host;
    const auto frames = static_cast<std::uint32_t>(in[0].size());
    Signal<Sample> copy = in, out(in.size(), std::vector<Sample>(frames, Sample(0)));
    std::size_t next = 0;
    for (std::uint32_t start = 0; start < frames;) {
        while (next < changes.size() && changes[next].frame <= start) {
            host.effect->setParameter(host.effect, changes[next].index, changes[next].normalised);
            ++next;
        }
        std::uint32_t end = std::min(frames, start + 512);
        if (next < changes.size()) end = std::min(end, changes[next].frame);
        Sample* inputs[2] = {copy[0].data() + start, mono ? nullptr : copy[1].data() + start};
        Sample* outputs[2] = {out[0].data() + start, mono ? nullptr : out[1].data() + start};
        const auto n = static_cast<vst2::int32>(end - start);
        if constexpr (sizeof(Sample) == sizeof(float))
            host.effect->processReplacing(host.effect, inputs, outputs, n);
        else
            host.effect->processDoubleReplacing(host.effect, inputs, outputs, n);
        start = end;
    }
    return out;
}

template Signal<float> renderVst(double, bool, const Signal<float>&, const std::vector<VstChange>&);
template Signal<double> renderVst(double, bool, const Signal<double>&, const std::vector<VstChange>&);
