// The bypass change-over: the output blends from the processed signal to the
// input (and back) over a few milliseconds, so that switching never clicks;
// once bypassed, the output is the input, sample for sample.
#pragma once

#include <cmath>
#include <cstdint>

namespace vst3 {

class BypassFade {
public:
    static constexpr double kSeconds = 0.005;

    // UI thread, while inactive: the change-over's length at this rate.
    void setRate(double rate) {
        if (!std::isfinite(rate) || rate <= 0.0) rate = 44100.0;
        const double samples = std::floor(rate * kSeconds + 0.5);
        length = samples < 1.0 ? 1 : samples > 1.0e6 ? 1000000 : static_cast<int>(samples);
        if (position > length) position = length;
    }
    void setTarget(bool bypassed) { target = bypassed; }
    // Where the bypass stands now, with no change-over (activation, a restored state).
    void jumpToTarget() { position = target ? length : 0; }
    // Whether the next samples need the input kept: bypassed, or on the way.
    bool needsInput() const { return target || position > 0; }
    int lengthInSamples() const { return length; }

    // Blends `n` processed samples of each channel with the input kept from
    // before processing, moving the change-over one step per sample.
    template <typename Sample>
    void mix(Sample* const* out, const Sample* const* in, int channels, std::int32_t n) {
        int end = position;
        for (int c = 0; c < channels; ++c) {
            int p = position;
            for (std::int32_t i = 0; i < n; ++i) {
                p = target ? (p < length ? p + 1 : p) : (p > 0 ? p - 1 : p);
                if (p == length) {
                    out[c][i] = in[c][i];
                } else if (p > 0) {
                    const double share = static_cast<double>(p) / length;
                    out[c][i] = static_cast<Sample>(static_cast<double>(out[c][i]) * (1.0 - share) +
                                                    static_cast<double>(in[c][i]) * share);
                }
            }
            end = p;
        }
        position = end;
    }

private:
    int length = 220;
    int position = 0;  // 0 processed, length bypassed
    bool target = false;
};

}  // namespace vst3
