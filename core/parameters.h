// The parameters: the normalised value any thread may set (the
// target), the names and display texts hosts show, and the engine values the
// audio thread derives from the targets at the start of each block.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

// The twelve parameters every program holds (and the VST 2.x plug-in shows),
// then the instance's own settings, which programs leave alone.
inline constexpr int kProgramParameters = 12;
inline constexpr int kOversamplingParameter = 12;
inline constexpr int kMixParameter = 13;
inline constexpr int kSidechainFilterParameter = 14;
inline constexpr int kKeyParameter = 15;
// Whether the editor's strip of settings is open: saved with the session like
// the settings, heard by nothing.
inline constexpr int kEditorStripParameter = 16;
inline constexpr int kNumParams = 17;
// The parameters the engine takes values from; the others are only stored.
inline constexpr std::array<int, 9> kEngineParameters = {
    0, 2, 4, 5, 6, kOversamplingParameter, kMixParameter, kSidechainFilterParameter, kKeyParameter};
// The side-chain filter's corners in Hz, by its setting (0 is off).
inline constexpr std::array<double, 5> kSidechainFilterHz = {0.0, 60.0, 90.0, 150.0, 250.0};

// What the engine reads of the parameters, derived on the audio thread.
struct EngineValues {
    int processMode = 0;  // 0 Off, 1 Clear, 2 Valve
    int ratioStep = 0;    // 0 to 6
    double timeFactor = 0.005;
    double compressionGain = 0.125;
    double outputGain = 1.0;
    int oversampling = 0;  // the valve's: 0 off, 1 twice, 2 four times
    double mix = 1.0;         // the compressed signal's share of the output, in hundredths
    int sidechainFilter = 0;  // the detector's high-pass: 0 off, 1 to 4 (kSidechainFilterHz)
    int key = 0;              // what the detector hears: 0 the input, 1 the key input
};

class Parameters {
public:
    // A target and how many times it has been set, read together.
    struct Reading {
        float value;
        std::uint32_t changes;
    };

    Parameters();

    // Any thread: clamps to 0.0 to 1.0 (NaN as 0.0) and stores. Answers the
    // parameter's change count after this change.
    std::uint32_t set(int index, float value);
    // Any thread: 0.0 for an index that is none.
    float get(int index) const;
    // Any thread: the value with its change count, which grows by one with
    // every set; editors and mirrors compare it with what they last showed.
    Reading read(int index) const;

    static bool isIndex(int index) { return index >= 0 && index < kNumParams; }
    // Any thread: "Process", "Ratio", "Time", "Compression", "Output", then the
    // settings' names from 12 on ("Oversampling" ... "Editor Strip"); " " for the others.
    static const char* name(int index);
    // Any thread: the display text of the value the parameter has now.
    std::string display(int index) const;
    // The display text of a normalised value.
    static std::string displayOf(int index, float value);

    // The engine value parameter `index` gives at `value` (indices 0, 2, 4,
    // 5 and 6; the others give nothing).
    static void derive(int index, float value, EngineValues& values);
    // Any thread: every engine value from the targets as they are now.
    EngineValues engineValues() const;

private:
    // The value's bits in the low half, the change count in the high half: a
    // reader never sees a value with another value's count.
    std::atomic<std::uint64_t> targets[kNumParams];
};

// The audio thread's engine values, derived again only for targets that changed.
class DerivedValues {
public:
    // Audio thread, at the start of a block or at an event's offset.
    const EngineValues& update(const Parameters& parameters);
    const EngineValues& current() const { return values; }

private:
    EngineValues values;
    std::uint32_t derivedChanges[kEngineParameters.size()] = {};
    bool derivedOnce = false;
};
