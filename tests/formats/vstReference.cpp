#include "vstReference.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "formats/vst2/meterRequest.h"

float PortSettings::value(int control) const {
    const float values[controls::kCount] = {process, ratio,  time,           compression, output,
                                            oversampling, mix, sidechainFilter, key};
    return values[control];
}

Channels testSignal(int channels, int frames, unsigned seed) {
    Channels out(channels, std::vector<float>(frames));
    unsigned noise = seed;
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < frames; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const double level = (i / 4410) % 3 == 0 ? 0.05 : 0.9;
            out[c][i] = static_cast<float>(level * (0.6 * std::sin(i * (0.031 + 0.007 * c)) +
                                                    0.3 * std::sin(i * 0.0021)) +
                                           0.01 * ((noise >> 8) / 16777216.0 - 0.5));
        }
    return out;
}

VstReference::VstReference(double rate, bool mono) {
    host.open();
    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    host.dispatch(vst2::effSetBlockSize, 0, 8192);
    if (mono) {
        vst2::VstSpeakerArrangement in{}, out{};
        in.numChannels = 1;
        out.numChannels = 1;
        host.dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::intptr>(&in), &out);
    }
    host.dispatch(vst2::effMainsChanged, 0, 1);
}

// The VST 2.x plug-in has the program's controls only.
void VstReference::apply(const PortSettings& settings) {
    for (int c = 0; c < controls::kProgramCount; ++c) {
        const controls::Control& port = controls::kControls[c];
        const float normalised =
            controls::normalisedOfStep(port, controls::stepOf(port, settings.value(c)));
        host.effect->setParameter(host.effect, port.parameter, normalised);
    }
}

namespace {

template <typename Sample, typename Run>
std::vector<std::vector<Sample>> processIn(const std::vector<std::vector<Sample>>& in, int block, Run run) {
    std::vector<std::vector<Sample>> out(in.size(), std::vector<Sample>(in[0].size()));
    const int frames = static_cast<int>(in[0].size());
    for (int done = 0; done < frames; done += block) {
        const int n = std::min(block, frames - done);
        Sample* ins[2] = {const_cast<Sample*>(in[0].data()) + done,
                          in.size() > 1 ? const_cast<Sample*>(in[1].data()) + done : nullptr};
        Sample* outs[2] = {out[0].data() + done, out.size() > 1 ? out[1].data() + done : nullptr};
        run(ins, outs, n);
    }
    return out;
}

}  // namespace

Channels VstReference::process(const Channels& in, int block) {
    return processIn(in, block, [this](float** ins, float** outs, int n) {
        host.effect->processReplacing(host.effect, ins, outs, n);
    });
}

DoubleChannels VstReference::process(const DoubleChannels& in, int block) {
    return processIn(in, block, [this](double** ins, double** outs, int n) {
        host.effect->processDoubleReplacing(host.effect, ins, outs, n);
    });
}

double VstReference::meterReading() {
    double reading = -1.0;
    host.dispatch(vst2::effVendorSpecific, kvbr::kMeterRequestIndex, kvbr::kMeterRequestValue,
                  &reading);
    return reading;
}

CoreReference::CoreReference(double rate, bool mono) : mono(mono) {
    compressor.setSampleRate(rate);
    compressor.resume();
}

void CoreReference::apply(const PortSettings& settings) {
    for (int c = 0; c < controls::kCount; ++c) {
        const controls::Control& port = controls::kControls[c];
        compressor.parameters().set(port.parameter,
                                    controls::normalisedOfStep(port, controls::stepOf(port, settings.value(c))));
    }
}

Channels CoreReference::process(const Channels& in, const Channels* key, int block) {
    Channels out(in.size(), std::vector<float>(in[0].size()));
    const int frames = static_cast<int>(in[0].size());
    const int right = mono ? 0 : 1;
    for (int done = 0; done < frames; done += block) {
        const int n = std::min(block, frames - done);
        compressor.process(in[0].data() + done, in[right].data() + done, out[0].data() + done,
                           out[right].data() + done, n, key ? (*key)[0].data() + done : nullptr,
                           key ? (*key)[right].data() + done : nullptr);
    }
    return out;
}
