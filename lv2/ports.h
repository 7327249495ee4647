// The LV2 plug-ins' ports: one table that the run loop, the Turtle writer and
// the tests share, and the mapping between a port's value in real units and
// the VST 2.x parameter value that shows the same text.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace lv2ports {

inline constexpr const char* kStereoUri = "https://korvane.com/plugins/brassel";
inline constexpr const char* kMonoUri = "https://korvane.com/plugins/brassel#mono";
inline constexpr const char* kUiUri = "https://korvane.com/plugins/brassel#ui";

enum class Control { process, ratio, time, compression, output };
inline constexpr int kControlCount = 5;

struct ControlPort {
    Control control;
    const char* symbol;
    const char* name;
    int parameter;     // the VST 2.x parameter index it drives
    float minimum;
    float maximum;
    float defaultValue;
    int steps;         // the parameter's steps above its minimum (the editor's knob frames - 1)
    bool enumeration;  // integer choice with labels
    bool decibels;
};

inline constexpr std::array<ControlPort, kControlCount> kControls = {{
    {Control::process, "process", "Process", 0, 0.0f, 2.0f, 2.0f, 2, true, false},
    {Control::ratio, "ratio", "Ratio", 2, 0.0f, 6.0f, 3.0f, 6, true, false},
    {Control::time, "time", "Time", 4, 0.0f, 10.0f, 5.0f, 20, false, false},
    {Control::compression, "compression", "Compression", 5, 0.0f, 10.0f, 5.0f, 40, false, false},
    {Control::output, "output", "Output", 6, 0.0f, 30.0f, 0.0f, 60, false, true},
}};

inline constexpr std::array<const char*, 3> kProcessLabels = {"Off", "Clear", "Valve"};
inline constexpr std::array<const char*, 7> kRatioLabels = {"1.2:1", "1.5:1", "2:1", "3:1",
                                                            "4:1",   "6:1",   "10:1"};

inline constexpr const char* kGainReductionSymbol = "gain_reduction";
// The deepest reduction the engine reaches (10:1, Compression 10, a full-scale
// square wave) is just under 40 dB; anything deeper is still reported as it is.
inline constexpr float kGainReductionMaximum = 40.0f;

// The port layout of one plug-in: audio first, then the controls in table
// order, then the gain-reduction output.
struct Layout {
    int audioInputs;   // 2 for stereo, 1 for mono
    int audioOutputs;
    constexpr int firstControl() const { return audioInputs + audioOutputs; }
    constexpr int gainReduction() const { return firstControl() + kControlCount; }
    constexpr int portCount() const { return gainReduction() + 1; }
};
inline constexpr Layout kStereoLayout{2, 2};
inline constexpr Layout kMonoLayout{1, 1};
// The audio ports' symbols in port order: in_l, in_r, out_l, out_r or in, out.
const char* audioSymbol(const Layout& layout, int port);

// The step a port value lands on: clamped to the port's range, NaN taken as
// the default, rounded to the nearest step (halves away from the minimum).
int stepOf(const ControlPort& port, float value);
// The value in real units of a step (what a preset or the host shows).
float valueOfStep(const ControlPort& port, int step);
// The normalised VST 2.x value the editor's knob gives for that step, so that
// a port and a knob on the same step drive the engine identically.
float normalisedOfStep(const ControlPort& port, int step);
// The step a normalised VST 2.x value shows as its display text.
int stepOfNormalised(const ControlPort& port, float normalised);

// Reduction in dB (0 = none, positive = reduction) from the meter's gain factor.
float gainReductionDb(double meterGain);

}  // namespace lv2ports
