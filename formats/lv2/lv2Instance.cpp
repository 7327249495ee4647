#include "lv2Instance.h"

#include <cstring>

#include "lv2State.h"

Lv2Instance::Lv2Instance(const lv2ports::Layout& layout, double rate, const LV2_URID_Map* map)
    : layout(layout) {
    // A rate that is no rate (0, NaN) is caught by the engine's own fallback.
    compressor.setSampleRate(static_cast<float>(rate));
    if (map && map->map) {
        hasMap = true;
        uris = lv2State::mapUris(*map);
    }
}

Lv2Instance::~Lv2Instance() {
    if (ui) ui->instanceGone();
}

void Lv2Instance::applyControls() {
    Parameters& parameters = compressor.parameters();
    for (int c = 0; c < controls::kCount; ++c) {
        const controls::Control& port = controls::kControls[c];
        const float* buffer = ports[layout.controlPort(c)];
        // An unconnected control keeps its default.
        const int step = controls::stepOf(port, buffer ? *buffer : port.defaultValue);
        if (step == controls::stepOfNormalised(port, parameters.get(port.parameter))) continue;
        parameters.set(port.parameter, controls::normalisedOfStep(port, step));
    }
}

void Lv2Instance::run(unsigned frames) {
    applyControls();
    const bool stereo = layout.audioInputs == 2;
    float* inL = ports[0];
    float* inR = stereo ? ports[1] : inL;
    float* outL = ports[layout.audioInputs];
    float* outR = stereo ? ports[layout.audioInputs + 1] : outL;
    // A key with one channel connected is heard on both; with none, the
    // detector stays on the input.
    const float* keyL = ports[layout.keyPort(0)];
    const float* keyR = stereo ? ports[layout.keyPort(1)] : keyL;
    if (!keyL) keyL = keyR;
    if (!keyR) keyR = keyL;
    if (inL && inR && outL && outR) {
        // The engine reads every input of a run of frames before it writes that
        // run's outputs, so an input may share its buffer with an output.
        for (unsigned done = 0; done < frames;) {
            const unsigned chunk = frames - done > 65536u ? 65536u : frames - done;
            compressor.process(inL + done, inR + done, outL + done, outR + done,
                               static_cast<Compressor::int32>(chunk), keyL ? keyL + done : nullptr,
                               keyR ? keyR + done : nullptr);
            done += chunk;
        }
    } else {
        // Missing buffers: nothing to process; whatever output there is stays silent.
        for (int i = 0; i < layout.audioOutputs; ++i)
            if (float* out = ports[layout.audioInputs + i]) std::memset(out, 0, frames * sizeof(float));
    }
    if (float* meter = ports[layout.gainReduction()])
        *meter = controls::gainReductionDb(compressor.getMeterReading());
}
