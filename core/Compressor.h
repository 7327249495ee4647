// One instance of the compressor as every format drives it: the twelve
// parameters, the bank of 33 programs, the engine and its meter reading, the
// rate and the activation. It knows no plug-in format; the formats' glue maps
// their hosts' calls onto these.
//
// Threads:
// - parameters().set(): any thread; the audio thread derives the engine's
//   values from the targets at the start of each process() call.
// - bank(): the host's main (UI) thread; the audio thread only through
//   bank().selectPresetForAudio().
// - setSampleRate(), resume(), suspend(): the main thread, never while
//   process() runs (hosts guarantee it; the hand-over between the two
//   threads is ordered here whatever their own).
// - process(), clearEngine(): the audio thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "core/engine/Engine.h"
#include "core/meterPreferences.h"
#include "core/parameters.h"
#include "core/programs/ProgramBank.h"

class Compressor {
public:
    using int32 = std::int32_t;

    // The factory bank, program 0 applied, the gains standing at its values,
    // the engine designed for 44.1 kHz and at rest, the meter preferences read.
    Compressor();
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    Parameters& parameters() { return params; }
    const Parameters& parameters() const { return params; }
    ProgramBank& bank() { return programs; }

    // Main thread, never while processing. Any rate is taken; rates the
    // engine cannot design for fall back to 44.1 kHz in resume().
    void setSampleRate(double rate) { sampleRate = rate; }
    double getSampleRate() const { return sampleRate; }
    // Designs the engine for the rate: filters cleared, meter resting. Every
    // setting made before the next block takes effect at once in that block.
    void resume();
    // Every section and the meter back at rest.
    void suspend();

    // Audio thread, between blocks: every filter, detector and the meter back
    // at rest as a suspend and resume leave them, the parameters kept, and
    // the next block starts at its settings as after a resume.
    void clearEngine() {
        engine.clear();
        starting = true;
    }
    // Audio thread: one block. The right channel may be the left one (a mono
    // layout passes the same buffers twice), and an input may share its
    // memory with an output. The key input is the side-chain's, null where
    // the host connected none (its right channel may be null for its left).
    void process(const float* inL, const float* inR, float* outL, float* outR, int32 frames,
                 const float* keyL = nullptr, const float* keyR = nullptr);
    void process(const double* inL, const double* inR, double* outL, double* outR, int32 frames,
                 const double* keyL = nullptr, const double* keyR = nullptr);

    // Any thread: 1.0 means no gain reduction.
    double getMeterReading() const { return engine.getMeterReading(); }
    // For what shows a reading it did not compute (a picture of the editor).
    void setMeterReading(double reading) { engine.setMeterReading(reading); }
    const std::atomic<double>* meterSource() const;

    // Tests and tools, never while processing.
    EnginePath setEnginePath(EnginePath path) { return engine.setEnginePath(path); }
    EnginePath getEnginePath() const { return engine.getEnginePath(); }
    const EngineState& engineState() const { return engine.state(); }
    // The engine values the last block used.
    const EngineValues& engineValues() const { return derived.current(); }

    const MeterPreferenceValues& meterPreferences() const { return preferences; }

private:
    template <typename Sample>
    void processBlock(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int32 frames,
                      const Sample* keyL, const Sample* keyR);
    // Before resume or suspend change the engine: whatever processing, or an
    // earlier resume or suspend on another thread, left there is seen.
    void takeEngine() {
        blocksProcessed.load(std::memory_order_acquire);
        engineGeneration.load(std::memory_order_acquire);
    }

    Parameters params;
    ProgramBank programs{params};
    Engine engine;
    DerivedValues derived;  // the audio thread's
    // The first block after a resume (or construction) starts the gains and
    // the output setting at the block's values, with no glide or crossfade.
    bool starting = true;
    double sampleRate = 44100.0;
    MeterPreferenceValues preferences;
    // The engine passes between the main thread (resume and suspend set it
    // up) and the audio thread (processing runs it) through these two, each
    // written with a release by one side and read with an acquire by the
    // other, so each side sees all the other wrote however the host hands
    // over between the two. Increments, not stores: hosts that run one
    // instance on several threads in turn keep one chain of releases.
    std::atomic<unsigned> engineGeneration{0};  // written by resume and suspend
    std::atomic<unsigned> blocksProcessed{0};   // written by processing
};
