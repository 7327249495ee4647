// What both engine paths share in a crossfade between two output settings:
// the new setting's share at each sample, and one channel's output for a
// setting from what the front of the pipeline made of the sample.
#pragma once

#include <cmath>

#include "Engine.h"
#include "gainCurves.h"
#include "oversampling.h"

namespace crossfade {

inline constexpr double kPi = 3.14159265358979323846;

// The new setting's share at sample `position` (1 to length) of the
// crossfade: half a cosine, so that it starts and ends without a kink, and
// exactly 1 at the last sample.
inline double share(Engine::int32 position, Engine::int32 length) {
    return 0.5 - 0.5 * std::cos(kPi * position / length);
}

// The valve on one sample, at the base rate or oversampled.
inline double valveOf(const OutputSetting& setting, double y, const ValveConstants& constants,
                      oversampling::Valve& oversampled) {
    return setting.oversampling ? oversampled.process(y, constants, setting.oversampling)
                                : valveCurve(y, constants);
}

// One channel's output for a setting, from the driven sample, the gain and
// the input as the host gave it (Off's output).
inline double outputOf(const OutputSetting& setting, double driven, double gain, double input,
                       double inverseDrive, double outputGain, oversampling::Valve& oversampled) {
    if (setting.mode == 0) return input;
    double y = gain * driven;
    if (setting.mode == 2) y = valveOf(setting, y, valveConstants(setting.step), oversampled);
    return y * inverseDrive * outputGain;
}

}  // namespace crossfade
