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
#include "oversampling.h"

// What the output path does with the cell's gain: the process mode, the
// ratio step (the gain curve and the valve's scale) and the valve's
// oversampling. Settings that sound the same compare equal: Off ignores the
// other two, Clear the oversampling.
struct OutputSetting {
    int mode = 0;          // 0 Off, 1 Clear, 2 Valve
    int step = 0;          // 0 to 6
    int oversampling = 0;  // 0 off, 1 twice, 2 four times

    static OutputSetting of(const EngineValues& values);
    bool operator==(const OutputSetting&) const = default;
};

class Engine {
public:
    using int32 = std::int32_t;
    // A change of the output setting crossfades from the old to the new
    // over this long, at every rate.
    static constexpr double kFadeSeconds = 0.015;

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
    // is read before that run's outputs are written. A new output setting
    // crossfades in from the block's first sample; a setting that changes
    // again during a crossfade follows when it ends. The key input (null when
    // the host connected none; its right channel may be its left) is what the
    // detector hears when the values ask for it; without one, the input.
    template <typename Sample>
    void process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int32 frames,
                 const EngineValues& values, const Sample* keyL = nullptr, const Sample* keyR = nullptr);
    // The setting the output path runs (during a crossfade, the one it heads for).
    OutputSetting outputSetting() const { return fade.active ? fade.to : current; }
    // Not while processing: the output path takes this setting at once, with no crossfade.
    void settleOutput(const EngineValues& values);

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
    struct Fade {
        bool active = false;
        OutputSetting from, to;
        int32 length = 662;  // kFadeSeconds at 44.1 kHz, rounded
        int32 position = 0;  // samples done
    };

    // What the detector hears instead of the driven input, for one call:
    // the key input's channels (null: the input), and whether the
    // Sidechain Filter runs.
    template <typename Sample>
    struct Detector {
        const Sample* keyL = nullptr;
        const Sample* keyR = nullptr;
        bool filtered = false;
        Detector after(int32 frames) const {
            return {keyL ? keyL + frames : nullptr, keyR ? keyR + frames : nullptr, filtered};
        }
    };
    // The block's output settings and crossfades, before the Mix.
    template <typename Sample>
    void processSettings(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, int32 frames,
                         const EngineValues& values, const Detector<Sample>& detector);
    // Mix: the compressed output against the input (`dry`), the share
    // gliding to the target; 1 leaves the output as it is, 0 is the input.
    // `phase` is the dry path the output's setting wants (see DryPath).
    template <typename Sample>
    void mixWithDry(const Sample* dryL, const Sample* dryR, Sample* outL, Sample* outR, int32 frames,
                    double target, int phase);
    // The dry path a blend wants with these values: the input as it is (0),
    // or through the filters of the valve at 2 (1) or 4 (2) times the rate.
    int dryPhaseOf(const EngineValues& values, double mix) const;
    // One dry sample of a channel through path `phase`.
    double dryThrough(int phase, int channel, double x);
    // Both channels' dry samples through path `phase` (not 0) on the vector path.
    void dryThroughVector(int phase, double& left, double& right);
    // Both channels, on the path the engine runs.
    void dryThroughBoth(int phase, double& left, double& right) {
        if (phase == 0) return;
        if (enginePath == EnginePath::vector) {
            dryThroughVector(phase, left, right);
            return;
        }
        left = dryThrough(phase, 0, left);
        right = dryThrough(phase, 1, right);
    }
    // The Sidechain Filter's sections designed for a setting (0 turns them off).
    void setDetectorFilter(int setting);
    void restSections();
    std::array<FilterSection*, 5> processingSections();
    // One setting over a run of samples: the Off bypass, or Clear and Valve
    // on the two paths (processing.cpp and processingVector.cpp); the right
    // channel may be the left one.
    template <typename Sample>
    void processSteady(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                       int32 sampleFrames, const EngineValues& values, const Detector<Sample>& detector);
    template <typename Sample>
    void processBaseline(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                         int32 sampleFrames, const OutputSetting& setting, const EngineValues& values,
                         const Detector<Sample>& detector);
    // With `fading`, the crossfade's next samples instead of one setting's
    // (the caller moves its position on).
    template <typename Sample>
    void processVector(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                       int32 sampleFrames, const OutputSetting& setting, const EngineValues& values,
                       const Detector<Sample>& detector, const Fade* fading = nullptr);
    // The crossfade's next samples, both settings from one shared front, on the baseline path.
    template <typename Sample>
    void processFade(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                     int32 sampleFrames, const EngineValues& values, const Detector<Sample>& detector);

    // The valve at a higher rate for one setting: left and right.
    using OversampledValves = std::array<oversampling::Valve, 2>;
    OversampledValves& valvesOf(bool incoming) { return valves[incoming ? 1 - steadyValves : steadyValves]; }

    EngineState engine;
    OutputSetting current;
    Fade fade;
    // Two sets: the steady setting's, and the one a crossfade brings in; they
    // change places when it ends.
    std::array<OversampledValves, 2> valves;
    int steadyValves = 0;
    double valveRate = 44100.0;
    int detectorFilter = 0;  // the Sidechain Filter setting the sections have
    // The oversampled valve's filters shift the phase of the highs; a blend
    // with the input as it is would comb, so the dry signal takes the same
    // filters with a straight curve. One set per factor; a change of path
    // crossfades like an output setting.
    struct DryPath {
        int from = 0, to = 0;  // 0 the input, 1 and 2 the filters of 2x and 4x
        bool active = false;
        int32 position = 0;
    };
    std::array<OversampledValves, 2> dryFilters;
    DryPath dryPath;
    // The compressed share of the output now, and its glide: from mixFrom to
    // mixTo along half a cosine over the crossfade's length, so that it starts
    // and ends without a kink; a new target starts a glide from where it is.
    double mixNow = 1.0, mixFrom = 1.0, mixTo = 1.0;
    int32 mixPosition = 0;
    EnginePath enginePath = defaultEnginePath();
    std::atomic<double> meterReading{1.0};
};
