// Mix: the compressed output blended with the input, the share gliding, and
// the dry signal taken through the oversampled valve's filters when the
// output has been through them.
#include <algorithm>

#include "Engine.h"
#include "crossfade.h"

int Engine::dryPhaseOf(const EngineValues& values, double mix) const {
    // Mix 0 is the input as it is, once the blend has come to rest there.
    if (mix == 0.0 && mixNow == 0.0) return 0;
    return OutputSetting::of(values).oversampling;
}

double Engine::dryThrough(int phase, int channel, double x) {
    if (phase == 0) return x;
    oversampling::Valve& filters = dryFilters[static_cast<std::size_t>(phase - 1)][static_cast<std::size_t>(channel)];
    double samples[4];
    filters.up(x, phase, samples);
    // The curve's mean between neighbours, for a straight curve: their average.
    for (int k = 0; k < 2 * phase; ++k) {
        const double y = 0.5 * (samples[k] + filters.curve.lastX);
        filters.curve.lastX = samples[k];
        samples[k] = y;
    }
    return filters.down(samples, phase);
}

template <typename Sample>
void Engine::mixWithDry(const Sample* dryL, const Sample* dryR, Sample* outL, Sample* outR, int32 frames,
                        double target, int phase) {
    if (target != mixTo) {
        mixFrom = mixNow;
        mixTo = target;
        mixPosition = 0;
    }
    for (int32 i = 0; i < frames; ++i) {
        if (mixNow != mixTo) {
            // Exactly the target at the glide's last sample.
            mixNow = ++mixPosition >= fade.length
                         ? mixTo
                         : mixFrom + (mixTo - mixFrom) * crossfade::share(mixPosition, fade.length);
        }
        if (!dryPath.active && dryPath.to != phase) {
            dryPath = DryPath{dryPath.to, phase, true, 0};
            if (phase)
                for (oversampling::Valve& filters : dryFilters[static_cast<std::size_t>(phase - 1)])
                    filters.reset(valveRate);
        }
        const Sample l = dryL[i], r = dryR[i];
        if (mixNow == 0.0 && !dryPath.active && dryPath.to == 0) {
            outL[i] = l;
            outR[i] = r;
            continue;
        }
        double left = audibleOrZero(l), right = audibleOrZero(r);
        if (dryPath.active) {
            const double w = crossfade::share(++dryPath.position, fade.length);
            double fromL = left, fromR = right;
            dryThroughBoth(dryPath.from, fromL, fromR);
            dryThroughBoth(dryPath.to, left, right);
            left = fromL * (1.0 - w) + left * w;
            right = fromR * (1.0 - w) + right * w;
            if (dryPath.position >= fade.length) dryPath.active = false;
        } else {
            dryThroughBoth(dryPath.to, left, right);
        }
        if (mixNow == 1.0) continue;
        const double m = mixNow;
        // Left first: with one output buffer for both, the right one is kept.
        outL[i] = static_cast<Sample>(left * (1.0 - m) + static_cast<double>(outL[i]) * m);
        outR[i] = static_cast<Sample>(right * (1.0 - m) + static_cast<double>(outR[i]) * m);
    }
}

template void Engine::mixWithDry(const float*, const float*, float*, float*, int32, double, int);
template void Engine::mixWithDry(const double*, const double*, double*, double*, int32, double, int);
