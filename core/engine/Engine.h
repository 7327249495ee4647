// The audio path: the engine state, the Off bypass, the per-sample pipeline on
// its two implementations, the rate-dependent set-up and the meter reading.
// It knows nothing of parameters or hosts: each block gets the engine values
// the audio thread derived for it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "EngineState.h"
#include "core/parameters.h"
#include "enginePath.h"

class Engine {
public:
    using int32 = std::int32_t;

    // Sections designed for 44.1 kHz, noise generators seeded, meter at rest.
    Engine();

    // Not while processing: designs every section for the host's rate (rates
    // the engine was not made for fall back to 44.1 kHz), the detectors and
    // the cell cleared, the meter resting at no reduction.
    void prepare(double hostRate);
    // Not while processing: every section and the meter back at rest.
    void rest();
    // Audio thread, between blocks: at rest as rest() leaves it, the gains kept.
    void clear();
    // The gain smoothers stand at these values' targets (no glide in from nothing).
    void startGainsAt(const EngineValues& values);

    // Audio thread: one block. The right channel may be the left one, and
    // inputs may share their memory with outputs: every input sample of a run
    // is read before that run's outputs are written.
    template <typename Sample>
    void process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int32 frames,
                 const EngineValues& values);

    // 1.0 means no gain reduction; written per sample, read by any thread.
    double getMeterReading() const { return meterReading.load(std::memory_order_relaxed); }
    // For what shows a reading it did not compute (a host's value, a picture).
    void setMeterReading(double reading) { meterReading.store(reading, std::memory_order_relaxed); }
    const std::atomic<double>& meterSource() const { return meterReading; }

    const EngineState& state() const { return engine; }

    // Not while processing: which implementation of the audio path runs. The
    // vector path is refused where the processor cannot run it; answers the
    // path now in use.
    EnginePath setEnginePath(EnginePath path);
    EnginePath getEnginePath() const { return enginePath; }

private:
    void restSections();
    std::array<FilterSection*, 5> processingSections();
    // Clear and Valve over a block, on the two paths (processing.cpp and
    // processingVector.cpp); the right channel may be the left one.
    template <typename Sample>
    void processBaseline(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                         int32 sampleFrames, int32 step, const EngineValues& values);
    template <typename Sample>
    void processVector(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                       int32 sampleFrames, int32 step, const EngineValues& values);

    EngineState engine;
    EnginePath enginePath = defaultEnginePath();
    std::atomic<double> meterReading{1.0};
};
