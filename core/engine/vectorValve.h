// The oversampled valve of both channels on the vector path, as
// oversampling::Valve computes it one channel at a time: the half-band
// filters' two branches of both channels side by side in one register
// (lanes: left branch 0, left branch 1, right branch 0, right branch 1), and
// the anti-aliased curve four samples at a time with its antiderivative from
// the kernels of vectorKernels.h. The filters' state stays in the Valve
// objects, so both paths read and leave it alike. For processingVector.cpp only.
#pragma once

#include "oversampling.h"
#include "vectorKernels.h"

namespace vectorvalve {

using vk::V;

// Two coefficients or states from each channel's filter, k and k + 1.
KVBR_VECTOR_INLINE V pairs(const double* left, const double* right) {
    return _mm256_set_m128d(_mm_loadu_pd(right), _mm_loadu_pd(left));
}
KVBR_VECTOR_INLINE void storePairs(V v, double* left, double* right) {
    _mm_storeu_pd(left, _mm256_castpd256_pd128(v));
    _mm_storeu_pd(right, _mm256_extractf128_pd(v, 1));
}

// Both branches of a half-band filter of each channel on the lanes' inputs:
// lane j's section k is its filter's coefficient 2k + (j % 2).
template <int Coefficients>
KVBR_VECTOR_INLINE V branches(oversampling::HalfBand<Coefficients>& left,
                              oversampling::HalfBand<Coefficients>& right, V x) {
    for (int k = 0; k < Coefficients; k += 2) {
        const V a = pairs(left.coefficients() + k, right.coefficients() + k);
        const V x1 = pairs(left.lastInputs() + k, right.lastInputs() + k);
        const V y1 = pairs(left.lastOutputs() + k, right.lastOutputs() + k);
        const V y = vk::fma(a, vk::sub(x, y1), x1);
        storePairs(x, left.lastInputs() + k, right.lastInputs() + k);
        storePairs(y, left.lastOutputs() + k, right.lastOutputs() + k);
        x = y;
    }
    return x;
}

// One sample of each channel up: lanes first left, second left, first right, second right.
template <int Coefficients>
KVBR_VECTOR_INLINE V up(oversampling::HalfBand<Coefficients>& left, oversampling::HalfBand<Coefficients>& right,
                        V leftAndRight) {
    return branches(left, right, leftAndRight);
}

// Two samples of each channel (lanes as up() gives them) down to one each:
// branch 0 takes the second, branch 1 the first; lanes 0 and 2 of the result.
template <int Coefficients>
KVBR_VECTOR_INLINE V down(oversampling::HalfBand<Coefficients>& left, oversampling::HalfBand<Coefficients>& right,
                          V samples) {
    const V y = branches(left, right, _mm256_permute_pd(samples, 0b0101));
    return vk::mul(vk::set(0.5), vk::add(y, _mm256_permute_pd(y, 0b0101)));
}

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

// Two channels of two samples each (lanes as up() gives them) through their curves.
KVBR_VECTOR_INLINE V curveTwoByTwo(V x, oversampling::AntiAliasedCurve& left,
                                   oversampling::AntiAliasedCurve& right, const ValveConstants& c) {
    const V integral = vk::valveIntegral(x, c.l, c.h);
    const V last = _mm256_setr_pd(left.lastX, 0.0, right.lastX, 0.0);
    const V lastIntegral = _mm256_setr_pd(left.lastIntegral, 0.0, right.lastIntegral, 0.0);
    // Each lane's sample before: the curve's last for lanes 0 and 2, lane 0 and 2 for 1 and 3.
    const V previous = _mm256_blend_pd(_mm256_movedup_pd(x), last, 0b0101);
    const V previousIntegral = _mm256_blend_pd(_mm256_movedup_pd(integral), lastIntegral, 0b0101);
    double xs[4], integrals[4];
    vk::store(xs, x);
    vk::store(integrals, integral);
    left.lastX = xs[1];
    left.lastIntegral = integrals[1];
    right.lastX = xs[3];
    right.lastIntegral = integrals[3];
    return antiAliased(x, previous, integral, previousIntegral, c);
}

// One channel's four samples in order through its curve.
KVBR_VECTOR_INLINE V curveFour(V x, oversampling::AntiAliasedCurve& curve, const ValveConstants& c) {
    const V integral = vk::valveIntegral(x, c.l, c.h);
    // Each lane's sample before: the curve's last for lane 0, lane k - 1 for the others.
    const V previous = _mm256_blend_pd(_mm256_permute4x64_pd(x, 0x90), _mm256_set1_pd(curve.lastX), 0b0001);
    const V previousIntegral =
        _mm256_blend_pd(_mm256_permute4x64_pd(integral, 0x90), _mm256_set1_pd(curve.lastIntegral), 0b0001);
    double xs[4], integrals[4];
    vk::store(xs, x);
    vk::store(integrals, integral);
    curve.lastX = xs[3];
    curve.lastIntegral = integrals[3];
    return antiAliased(x, previous, integral, previousIntegral, c);
}

// A straight curve's mean between neighbours, their average, for two
// channels of two samples (as curveTwoByTwo) or one channel of four (as curveFour).
KVBR_VECTOR_INLINE V straightTwoByTwo(V x, oversampling::AntiAliasedCurve& left, oversampling::AntiAliasedCurve& right) {
    const V previous = _mm256_blend_pd(_mm256_movedup_pd(x), _mm256_setr_pd(left.lastX, 0.0, right.lastX, 0.0), 0b0101);
    double xs[4];
    vk::store(xs, x);
    left.lastX = xs[1];
    right.lastX = xs[3];
    return vk::mul(vk::set(0.5), vk::add(x, previous));
}
KVBR_VECTOR_INLINE V straightFour(V x, oversampling::AntiAliasedCurve& curve) {
    const V previous = _mm256_blend_pd(_mm256_permute4x64_pd(x, 0x90), _mm256_set1_pd(curve.lastX), 0b0001);
    double xs[4];
    vk::store(xs, x);
    curve.lastX = xs[3];
    return vk::mul(vk::set(0.5), vk::add(x, previous));
}

// One sample of each channel through its valve at 2 (factor 1) or 4
// (factor 2) times the rate; Straight: through its filters only, the curve
// a straight line (the dry signal of a blend).
template <bool Straight = false>
KVBR_VECTOR_INLINE void process(oversampling::Valve* valves, double& left, double& right,
                                const ValveConstants& c, int factor) {
    oversampling::Valve &l = valves[0], &r = valves[1];
    const V twice = up(l.outerUp, r.outerUp, _mm256_setr_pd(left, left, right, right));
    V backAtTwice;
    if (factor == 1) {
        backAtTwice = Straight ? straightTwoByTwo(twice, l.curve, r.curve) : curveTwoByTwo(twice, l.curve, r.curve, c);
    } else {
        // Each sample at twice the rate into two at four times it, in order.
        const V firstUp = up(l.innerUp, r.innerUp, _mm256_permute_pd(twice, 0b0000));
        const V secondUp = up(l.innerUp, r.innerUp, _mm256_permute_pd(twice, 0b1111));
        const V fourLeft = _mm256_permute2f128_pd(firstUp, secondUp, 0x20);
        const V fourRight = _mm256_permute2f128_pd(firstUp, secondUp, 0x31);
        const V curvedLeft = Straight ? straightFour(fourLeft, l.curve) : curveFour(fourLeft, l.curve, c);
        const V curvedRight = Straight ? straightFour(fourRight, r.curve) : curveFour(fourRight, r.curve, c);
        // Back to twice the rate: the first pair of each channel, then the second.
        const V first = down(l.innerDown, r.innerDown, _mm256_permute2f128_pd(curvedLeft, curvedRight, 0x20));
        const V second = down(l.innerDown, r.innerDown, _mm256_permute2f128_pd(curvedLeft, curvedRight, 0x31));
        backAtTwice = _mm256_blend_pd(first, _mm256_permute_pd(second, 0b0000), 0b1010);
    }
    const V back = down(l.outerDown, r.outerDown, backAtTwice);
    double out[4];
    vk::store(out, back);
    left = l.finish(out[0], factor);
    right = r.finish(out[2], factor);
}

}  // namespace vectorvalve
