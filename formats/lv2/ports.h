// The LV2 plug-ins' ports: the audio ports, the five controls of the shared
// table in its order, and the gain-reduction output.
#pragma once

#include "core/controls.h"

namespace lv2ports {

inline constexpr const char* kStereoUri = "https://korvane.com/plugins/brassel";
inline constexpr const char* kMonoUri = "https://korvane.com/plugins/brassel#mono";
inline constexpr const char* kUiUri = "https://korvane.com/plugins/brassel#ui";

inline constexpr const char* kGainReductionSymbol = "gain_reduction";

// The port layout of one plug-in: audio first, then the controls in table
// order, then the gain-reduction output.
struct Layout {
    int audioInputs;   // 2 for stereo, 1 for mono
    int audioOutputs;
    constexpr int firstControl() const { return audioInputs + audioOutputs; }
    constexpr int gainReduction() const { return firstControl() + controls::kCount; }
    constexpr int portCount() const { return gainReduction() + 1; }
};
inline constexpr Layout kStereoLayout{2, 2};
inline constexpr Layout kMonoLayout{1, 1};
// The audio ports' symbols in port order: in_l, in_r, out_l, out_r or in, out.
const char* audioSymbol(const Layout& layout, int port);

}  // namespace lv2ports
