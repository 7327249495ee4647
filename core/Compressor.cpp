#include "Compressor.h"

Compressor::Compressor() {
    // Program 0 drives the engine. The smoothers start at its targets so the
    // first block does not glide in from nothing.
    programs.setProgram(0);
    engine.startGainsAt(derived.update(params));
    engine.settleOutput(derived.current());
    engine.rest();
    preferences = MeterPreferenceValues::load();
}

void Compressor::resume() {
    takeEngine();
    engine.prepare(sampleRate);
    starting = true;
    engineGeneration.fetch_add(1, std::memory_order_release);
}

void Compressor::suspend() {
    takeEngine();
    engine.rest();
    engineGeneration.fetch_add(1, std::memory_order_release);
}

const std::atomic<double>* Compressor::meterSource() const { return &engine.meterSource(); }

template <typename Sample>
void Compressor::processBlock(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                              int32 frames, const Sample* keyL, const Sample* keyR) {
    engineGeneration.load(std::memory_order_acquire);
    const EngineValues& values = derived.update(params);
    if (starting && frames > 0) {
        // A render starts at its settings, whatever order the host set them in.
        engine.startGainsAt(values);
        engine.settleOutput(values);
        starting = false;
    }
    engine.process(inL, inR, outL, outR, frames, values, keyL, keyR);
    blocksProcessed.fetch_add(1, std::memory_order_release);
}

void Compressor::process(const float* inL, const float* inR, float* outL, float* outR, int32 frames,
                         const float* keyL, const float* keyR) {
    processBlock(inL, inR, outL, outR, frames, keyL, keyR);
}

void Compressor::process(const double* inL, const double* inR, double* outL, double* outR,
                         int32 frames, const double* keyL, const double* keyR) {
    processBlock(inL, inR, outL, outR, frames, keyL, keyR);
}
