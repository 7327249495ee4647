// The oversampled valve of both channels on the vector path: each channel's
// half-band filters as on the baseline (oversampling.h), the anti-aliased
// curve between them four samples at a time, its antiderivative from the
// kernels of vectorKernels.h. For processingVector.cpp only.
#pragma once

#include "oversampling.h"
#include "vectorKernels.h"

namespace vectorvalve {

using vk::V;

// The curve on four samples at once: each lane's sample and antiderivative
// against those of the sample before it.
KVBR_VECTOR_INLINE V antiAliased(V x, V previous, V integral, V previousIntegral, const ValveConstants& c) {
    const V step = vk::sub(x, previous);
    const V far = vk::greater(vk::abs(step), vk::set(oversampling::kClosestStep));
    const V mean = vk::div(vk::sub(integral, previousIntegral), step);
    if (_mm256_movemask_pd(far) == 0xF) return mean;
    const V midpoint = vk::valve(vk::mul(vk::set(0.5), vk::add(x, previous)), c.l, c.h);
    return vk::select(far, mean, midpoint);
}

// Four samples in order, `first` and `second` each covering `runs` lanes in a
// row (2: two channels of two samples, 4: one channel of four), through the
// curves whose state `first` and `second` hold.
KVBR_VECTOR_INLINE void curveFour(double* samples, oversampling::AntiAliasedCurve& first,
                                  oversampling::AntiAliasedCurve* second, const ValveConstants& c) {
    const V x = vk::load(samples);
    const V integral = vk::valveIntegral(x, c.l, c.h);
    double integrals[4];
    vk::store(integrals, integral);
    double previous[4], previousIntegrals[4];
    for (int k = 0; k < 4; ++k) {
        previous[k] = samples[k - 1 < 0 ? 0 : k - 1];
        previousIntegrals[k] = integrals[k - 1 < 0 ? 0 : k - 1];
    }
    previous[0] = first.lastX;
    previousIntegrals[0] = first.lastIntegral;
    if (second) {
        previous[2] = second->lastX;
        previousIntegrals[2] = second->lastIntegral;
        first.lastX = samples[1];
        first.lastIntegral = integrals[1];
        second->lastX = samples[3];
        second->lastIntegral = integrals[3];
    } else {
        first.lastX = samples[3];
        first.lastIntegral = integrals[3];
    }
    vk::store(samples, antiAliased(x, vk::load(previous), integral, vk::load(previousIntegrals), c));
}

// One sample of each channel through its valve at 2 (factor 1) or 4
// (factor 2) times the rate.
KVBR_VECTOR_INLINE void process(oversampling::Valve* valves, double& left, double& right,
                                const ValveConstants& c, int factor) {
    if (factor == 1) {
        double samples[4];
        valves[0].up(left, 1, samples);
        valves[1].up(right, 1, samples + 2);
        curveFour(samples, valves[0].curve, &valves[1].curve, c);
        left = valves[0].down(samples, 1);
        right = valves[1].down(samples + 2, 1);
        return;
    }
    double l[4], r[4];
    valves[0].up(left, 2, l);
    valves[1].up(right, 2, r);
    curveFour(l, valves[0].curve, nullptr, c);
    curveFour(r, valves[1].curve, nullptr, c);
    left = valves[0].down(l, 2);
    right = valves[1].down(r, 2);
}

}  // namespace vectorvalve
