// The LV2 plug-ins' ports: the audio ports, the program's five controls of
// the shared table in its order, the gain-reduction output, then the
// instance's settings and the key inputs (added later, so after the ports
// sessions already know).
#pragma once

#include "core/controls.h"

namespace lv2ports {

inline constexpr const char* kStereoUri = "https://korvane.com/plugins/brassel";
inline constexpr const char* kMonoUri = "https://korvane.com/plugins/brassel#mono";
inline constexpr const char* kUiUri = "https://korvane.com/plugins/brassel#ui";

inline constexpr const char* kGainReductionSymbol = "gain_reduction";

// The port layout of one plug-in: audio first, then the program's controls
// in table order, then the gain-reduction output, then the settings.
struct Layout {
    int audioInputs;   // 2 for stereo, 1 for mono
    int audioOutputs;
    constexpr int firstControl() const { return audioInputs + audioOutputs; }
    constexpr int gainReduction() const { return firstControl() + controls::kProgramCount; }
    // The port of control c of the table.
    constexpr int controlPort(int c) const {
        return c < controls::kProgramCount ? firstControl() + c
                                           : gainReduction() + 1 + (c - controls::kProgramCount);
    }
    // The control of the table behind a port, or -1.
    constexpr int controlOfPort(int port) const {
        for (int c = 0; c < controls::kCount; ++c)
            if (controlPort(c) == port) return c;
        return -1;
    }
    // The key (side-chain) inputs, one per main input, after every control.
    constexpr int keyPort(int channel) const { return controlPort(controls::kCount - 1) + 1 + channel; }
    constexpr int portCount() const { return keyPort(audioInputs); }
};
inline constexpr Layout kStereoLayout{2, 2};
inline constexpr Layout kMonoLayout{1, 1};
// The audio ports' symbols in port order: in_l, in_r, out_l, out_r or in, out.
const char* audioSymbol(const Layout& layout, int port);
// The key inputs' symbols: key_left, key_right or key_in.
const char* keySymbol(const Layout& layout, int channel);

}  // namespace lv2ports
