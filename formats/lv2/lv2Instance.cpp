#include "lv2Instance.h"

#include <lv2/atom/atom.h>

#include <cstring>

#include "lv2State.h"

Lv2Instance::Lv2Instance(const lv2ports::Layout& layout, double rate, const LV2_URID_Map* map)
    : effect(std::make_unique<AutoComp>(linkedHostCallback)), layout(layout) {
    effect->getAeffect()->user = &link;
    if (layout.audioInputs == 1) {
        // The VST 2.x plug-in's 1-in-1-out arrangement, as kvbr-render uses for mono files.
        vst2::VstSpeakerArrangement in{}, out{};
        in.numChannels = 1;
        out.numChannels = 1;
        effect->setSpeakerArrangement(&in, &out);
    }
    // A rate that is no rate (0, NaN) is caught by the engine's own fallback.
    effect->setSampleRate(static_cast<float>(rate));
    effect->setBlockSize(8192);
    if (map && map->map) {
        hasMap = true;
        uris = lv2State::mapUris(*map);
    }
}

Lv2Instance::~Lv2Instance() {
    if (link.context && link.detach) link.detach(link.context);
}

void Lv2Instance::applyControls() {
    for (int c = 0; c < controls::kCount; ++c) {
        const controls::Control& port = controls::kControls[c];
        const float* buffer = ports[layout.firstControl() + c];
        // An unconnected control keeps its default.
        const int step = controls::stepOf(port, buffer ? *buffer : port.defaultValue);
        if (step == controls::stepOfNormalised(port, effect->getParameter(port.parameter))) continue;
        effect->setEngineParameter(port.parameter, controls::normalisedOfStep(port, step));
    }
}

void Lv2Instance::run(unsigned frames) {
    applyControls();
    float* inputs[2] = {ports[0], layout.audioInputs == 2 ? ports[1] : nullptr};
    float* outputs[2] = {ports[layout.audioInputs],
                         layout.audioOutputs == 2 ? ports[layout.audioInputs + 1] : nullptr};
    bool connected = true;
    for (int i = 0; i < layout.audioInputs; ++i) connected = connected && inputs[i];
    for (int i = 0; i < layout.audioOutputs; ++i) connected = connected && outputs[i];
    if (connected) {
        // The engine reads every input of a run of frames before it writes that
        // run's outputs, so an input may share its buffer with an output.
        unsigned done = 0;
        while (done < frames) {
            const unsigned chunk = frames - done > 65536u ? 65536u : frames - done;
            float* in[2] = {inputs[0] + done, inputs[1] ? inputs[1] + done : nullptr};
            float* out[2] = {outputs[0] + done, outputs[1] ? outputs[1] + done : nullptr};
            effect->processReplacing(in, out, static_cast<vst2::int32>(chunk));
            done += chunk;
        }
    } else {
        // Missing buffers: nothing to process; whatever output there is stays silent.
        for (int i = 0; i < layout.audioOutputs; ++i)
            if (outputs[i]) std::memset(outputs[i], 0, frames * sizeof(float));
    }
    if (float* meter = ports[layout.gainReduction()])
        *meter = controls::gainReductionDb(effect->getMeterReading());
}
