// Everything the audio path keeps from sample to sample.
#pragma once

#include <cstdint>

#include "FilterSection.h"

// The largest input sample the engine takes for what it is; beyond it (and for
// NaN and infinities) a sample counts as silence. Far above any audio, far
// below where the side chain's power would overflow.
constexpr double kLargestSample = 1e30;

// A NaN or an infinity from the host would poison every filter for good, and
// so would a finite sample so large that its power overflows (1e155 squared
// is infinite): anything beyond kLargestSample counts as silence.
template <typename Sample>
double audibleOrZero(Sample x) {
    const double d = static_cast<double>(x);
    return d <= kLargestSample && d >= -kLargestSample ? d : 0.0;
}

// Three shift registers whose combined word is the anti-denormal noise.
struct NoiseGenerators {
    std::uint32_t s1 = 592, s2 = 153768, s3 = 1526;

    std::uint32_t step() {
        s1 = (s1 << 13) ^ ((((s1 >> 9) ^ s1) >> 6) & 0x1FFFu);
        s2 = (s2 << 20) ^ ((((s2 >> 2) ^ s2) >> 7) & 0xFFFFFu);
        s3 = (s3 << 17) ^ ((((s3 >> 6) ^ s3) >> 8) & 0x1FFFFu);
        return s1 ^ s2 ^ s3;
    }

    // A word as noise in [-1e-10, 1e-10): enough to keep every filter away from
    // denormal numbers, far below anything audible.
    static double value(std::uint32_t u) {
        return (static_cast<double>(u) * 2.3283064365e-10 * 2.0 - 1.0) * 1e-10;
    }
};

struct EngineState {
    FilterSection meterSection{8, 2.0, 0.583};
    FilterSection fastDetector{8, 5.0, 0.5};
    FilterSection slowDetector{8, 20.0, 0.5};
    FilterSection cellSection{8, 1.0, 0.1};
    FilterSection sideChainLeft{1, 40.0, 0.3};
    FilterSection sideChainRight{1, 40.0, 0.3};
    // The Sidechain Filter: a high-pass before the side-chain, off (type 0,
    // which passes its input untouched) unless the setting asks for it.
    FilterSection detectorFilterLeft{0, 0.0, 0.7071};
    FilterSection detectorFilterRight{0, 0.0, 0.7071};

    NoiseGenerators noise;
    // Alternates in sign every sample; keeps the gain smoothers off denormals.
    double engineOffset = 0.0;
    double smoothedDrive = 1.0;
    double inverseDrive = 1.0;
    double smoothedOutputGain = 1.0;
    double cellLevel = 0.0001;
};
