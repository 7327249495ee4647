// The controls the plug-in formats show a host: one table that the LV2,
// VST 3 and CLAP glue, the offline renderer and the tests all read, so that
// the formats cannot drift apart. Each control is a parameter of the core
// with a fixed grid of steps; a host's value, in real units, normalised or as
// text, always lands on a step and reaches the core as step / steps, the very
// value the editor's knob gives for that step. The first five are the
// program's controls, which every format has had from the start (the VST 2.x
// plug-in's); the others are the instance's own settings, which programs
// leave alone and the VST 2.x plug-in does not have.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace controls {

enum class Id { process, ratio, time, compression, output, oversampling, mix, sidechainFilter, key };
inline constexpr int kCount = 9;
inline constexpr int kProgramCount = 5;

struct Control {
    Id id;
    const char* symbol;  // the LV2 port symbol and the key in every format's description
    const char* name;
    int parameter;       // the core's parameter index (the VST 2.x index for the first five)
    std::uint32_t hostId;  // the VST 3 and CLAP parameter ID: fixed for good
    float minimum;       // the range in real units, as LV2 and CLAP show it
    float maximum;
    float defaultValue;
    int steps;           // the steps above the minimum (the editor's knob frames - 1)
    bool enumeration;    // a choice with labels
    bool decibels;
};

inline constexpr std::array<Control, kCount> kControls = {{
    {Id::process, "process", "Process", 0, 0, 0.0f, 2.0f, 2.0f, 2, true, false},
    {Id::ratio, "ratio", "Ratio", 2, 2, 0.0f, 6.0f, 3.0f, 6, true, false},
    {Id::time, "time", "Time", 4, 4, 0.0f, 10.0f, 5.0f, 20, false, false},
    {Id::compression, "compression", "Compression", 5, 5, 0.0f, 10.0f, 5.0f, 40, false, false},
    {Id::output, "output", "Output", 6, 6, 0.0f, 30.0f, 0.0f, 60, false, true},
    {Id::oversampling, "oversampling", "Oversampling", 12, 1003, 0.0f, 2.0f, 0.0f, 2, true, false},
    {Id::mix, "mix", "Mix", 13, 1004, 0.0f, 100.0f, 100.0f, 100, false, false},
    {Id::sidechainFilter, "sidechain_filter", "Sidechain Filter", 14, 1005, 0.0f, 4.0f, 0.0f, 4, true, false},
    {Id::key, "key", "Key", 15, 1006, 0.0f, 1.0f, 0.0f, 1, true, false},
}};

inline constexpr std::array<const char*, 3> kProcessLabels = {"Off", "Clear", "Valve"};
inline constexpr std::array<const char*, 3> kOversamplingLabels = {"Off", "2x", "4x"};
inline constexpr std::array<const char*, 5> kSidechainFilterLabels = {"Off", "60 Hz", "90 Hz", "150 Hz",
                                                                      "250 Hz"};
inline constexpr std::array<const char*, 2> kKeyLabels = {"Internal", "External"};
inline constexpr std::array<const char*, 7> kRatioLabels = {"1.2:1", "1.5:1", "2:1", "3:1",
                                                            "4:1",   "6:1",   "10:1"};

// The deepest reduction the engine reaches (10:1, Compression 10, a full-scale
// square wave) is just under 40 dB; anything deeper is still reported as it is.
inline constexpr float kGainReductionMaximum = 40.0f;

// The control behind a core parameter index, or null for the unused ones.
const Control* byParameter(int parameter);
// The control behind a VST 3 or CLAP parameter ID, or null.
const Control* byHostId(std::uint32_t id);

// The step a value in real units lands on: clamped to the range, NaN taken as
// the default, rounded to the nearest step (halves away from the minimum).
int stepOf(const Control& control, double value);
// The value in real units of a step (what a preset or the host shows).
float valueOfStep(const Control& control, int step);
// The normalised VST 2.x value the editor's knob gives for that step.
float normalisedOfStep(const Control& control, int step);
// The step a normalised VST 2.x value shows as its display text.
int stepOfNormalised(const Control& control, double normalised);

// The display text of a step ("Valve", "4:1", "5.50", "50%").
std::string textOfStep(const Control& control, int step);
// Reads a text back: a label (letter case ignored) or a number, with "dB"
// after it for Output and "%" for Mix. Exact takes only a step's own value ("5.5" or "5.50");
// nearest also takes numbers between steps, and out of range, and snaps them.
enum class TextMatch { exact, nearest };
std::optional<int> stepOfText(const Control& control, std::string_view text,
                              TextMatch match = TextMatch::exact);

// Reduction in dB (0 = none, positive = reduction) from the meter's gain factor.
float gainReductionDb(double meterGain);
// The meter's gain factor from a host's reduction in dB; anything but a real
// reduction reads as none.
double meterReadingOf(float decibels);

}  // namespace controls
