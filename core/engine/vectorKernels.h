// The library calls of the audio path, four doubles at a time on AVX2 and FMA
// registers: sine and cosine of the cell's angle, arc tangent and hyperbolic
// tangent. Square roots need nothing of ours (vsqrtpd rounds correctly).
//
// Only for code whose callers have checked the processor
// (vectorEngineSupported() of enginePath.h): every function here carries the
// AVX2 target itself, so the rest of the file that includes it keeps the
// baseline instruction set, and being static each copy stays inside that file.
//
// The error bounds are proved against the C library and a long double
// reference over the whole range the engine can produce by
// tests/unit/engine_vectorKernels_test.cpp.
#pragma once

#include <immintrin.h>

#include <cmath>

#define KVBR_VECTOR_INLINE [[gnu::target("avx2,fma"), gnu::always_inline]] static inline
#define KVBR_VECTOR [[gnu::target("avx2,fma")]]

namespace vk {

using V = __m256d;

KVBR_VECTOR_INLINE V set(double x) { return _mm256_set1_pd(x); }
KVBR_VECTOR_INLINE V load(const double* p) { return _mm256_loadu_pd(p); }
KVBR_VECTOR_INLINE void store(double* p, V v) { _mm256_storeu_pd(p, v); }
KVBR_VECTOR_INLINE V add(V a, V b) { return _mm256_add_pd(a, b); }
KVBR_VECTOR_INLINE V sub(V a, V b) { return _mm256_sub_pd(a, b); }
KVBR_VECTOR_INLINE V mul(V a, V b) { return _mm256_mul_pd(a, b); }
KVBR_VECTOR_INLINE V div(V a, V b) { return _mm256_div_pd(a, b); }
// a * b + c with one rounding.
KVBR_VECTOR_INLINE V fma(V a, V b, V c) { return _mm256_fmadd_pd(a, b, c); }
// a * b - c with one rounding.
KVBR_VECTOR_INLINE V fms(V a, V b, V c) { return _mm256_fmsub_pd(a, b, c); }
// c - a * b with one rounding.
KVBR_VECTOR_INLINE V fnma(V a, V b, V c) { return _mm256_fnmadd_pd(a, b, c); }
KVBR_VECTOR_INLINE V abs(V a) { return _mm256_andnot_pd(set(-0.0), a); }
KVBR_VECTOR_INLINE V signOf(V a) { return _mm256_and_pd(set(-0.0), a); }
// Where the mask is set, b; elsewhere a.
KVBR_VECTOR_INLINE V select(V mask, V b, V a) { return _mm256_blendv_pd(a, b, mask); }
KVBR_VECTOR_INLINE V less(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
KVBR_VECTOR_INLINE V lessEqual(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
KVBR_VECTOR_INLINE V greater(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
KVBR_VECTOR_INLINE V greaterEqual(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }

// Sine and cosine of x. The polynomials are fdlibm's kernels for
// |x| <= pi/4, evaluated with fused multiply-adds and with the rounding of
// x * x carried along, so that cos x = 1 - x^2/2 + ... is rounded once at the
// very end: 1 - cos x is what the cell's design lives on, and at its usual
// angles (1e-5 to 0.2) a cosine one unit off in the last place at every
// sample would move the cell's level by a part in 1e8. Lanes outside
// [0, pi/4] (never at the engine's cut-offs, which stay below 0.2 radians)
// and NaN take the C library one by one.
KVBR_VECTOR_INLINE void sinCos(V x, V& sine, V& cosine) {
    const V z = mul(x, x);
    const V zLow = fms(x, x, z);  // x * x = z + zLow exactly
    const V w = mul(z, z);
    // sin x = x + x^3 (S1 + z r)
    const V rs = add(
        fma(z, fma(z, set(2.75573137070700676789e-06), set(-1.98412698298579493134e-04)),
            set(8.33333333332248946124e-03)),
        mul(mul(z, w), fma(z, set(1.58969099521155010221e-10), set(-2.50507602534068634195e-08))));
    const V v = mul(z, x);
    const V vLow = fma(zLow, x, fms(z, x, v));  // x^3 = v + vLow, nearly exactly
    const V p = fma(z, rs, set(-1.66666666666666324348e-01));
    sine = add(x, fma(v, p, mul(vLow, set(-1.66666666666666324348e-01))));
    // cos x = 1 - z/2 + z r
    const V rc =
        add(mul(z, fma(z, fma(z, set(2.48015872894767294178e-05), set(-1.38888888888741095749e-03)),
                       set(4.16666666666666019037e-02))),
            mul(mul(w, w),
                fma(z, fma(z, set(-1.13596475577881948265e-11), set(2.08757232129817482790e-09)),
                    set(-2.75573143513906633035e-07))));
    const V hz = mul(set(0.5), z);
    const V hzLow = mul(set(0.5), zLow);
    const V one = set(1.0);
    const V head = sub(one, hz);
    const V tail = add(sub(sub(sub(one, head), hz), hzLow), mul(z, rc));
    cosine = add(head, tail);

    const V inside =
        _mm256_and_pd(greaterEqual(x, set(0.0)), lessEqual(x, set(0.7853981633974483)));
    if (_mm256_movemask_pd(inside) != 0xF) {
        double xs[4], s[4], c[4], in[4];
        _mm256_storeu_pd(xs, x);
        _mm256_storeu_pd(s, sine);
        _mm256_storeu_pd(c, cosine);
        _mm256_storeu_pd(in, inside);
        for (int k = 0; k < 4; ++k) {
            if (in[k] != 0.0) continue;
            s[k] = std::sin(xs[k]);
            c[k] = std::cos(xs[k]);
        }
        sine = _mm256_loadu_pd(s);
        cosine = _mm256_loadu_pd(c);
    }
}

// Arc tangent: Cephes' three ranges with one division per lane, a = |x|
// becomes t with |t| <= tan(pi/8), and atan a = hi + lo + atan t:
//   a <= tan(pi/8):                t = a,                 hi + lo = 0
//   tan(pi/8) < a < tan(3 pi/8):   t = (a - 1) / (a + 1), hi + lo = pi/4
//   a >= tan(3 pi/8):              t = -1 / a,            hi + lo = pi/2
// fdlibm's polynomial (for |t| <= 7/16) then gives atan t.
struct AtanReduction {
    V num, den, hi, lo;
};

KVBR_VECTOR_INLINE AtanReduction atanReduce(V a) {
    const V one = set(1.0);
    const V middle = greater(a, set(0.41421356237309503));
    const V large = greaterEqual(a, set(2.414213562373095));
    V num = select(large, set(-1.0), a), den = select(large, a, one);
    V hi = select(large, set(1.57079632679489655800e+00), set(0.0));
    V lo = select(large, set(6.12323399573676603587e-17), set(0.0));
    const V inside = _mm256_andnot_pd(large, middle);
    num = select(inside, sub(a, one), num);
    den = select(inside, add(a, one), den);
    hi = select(inside, set(7.85398163397448278999e-01), hi);
    lo = select(inside, set(3.06161699786838301793e-17), lo);
    return {num, den, hi, lo};
}

// hi + lo + atan t for the reduced argument t (|t| <= tan(pi/8) < 7/16). The two
// polynomials in w = t^4 are evaluated by Estrin's scheme, which keeps the
// chain of dependent operations short.
KVBR_VECTOR_INLINE V atanFinish(V t, V hi, V lo) {
    const V z = mul(t, t);
    const V w = mul(z, z);
    const V w2 = mul(w, w);
    const V w4 = mul(w2, w2);
    // aT0 + aT2 w + aT4 w^2 + aT6 w^3 + aT8 w^4 + aT10 w^5
    const V even =
        fma(w4, fma(w, set(1.62858201153657823623e-02), set(4.97687799461593236017e-02)),
            fma(w2, fma(w, set(6.66107313738753120669e-02), set(9.09088713343650656196e-02)),
                fma(w, set(1.42857142725034663711e-01), set(3.33333333333329318027e-01))));
    // aT1 + aT3 w + aT5 w^2 + aT7 w^3 + aT9 w^4
    const V odd =
        fma(w4, set(-3.65315727442169155270e-02),
            fma(w2, fma(w, set(-5.83357013379057348645e-02), set(-7.69187620504482999495e-02)),
                fma(w, set(-1.11111104054623557880e-01), set(-1.99999999998764832476e-01))));
    const V s1 = mul(z, even);
    const V s2 = mul(w, odd);
    // hi - ((t (s1 + s2) - lo) - t)
    return sub(hi, sub(fms(t, add(s1, s2), lo), t));
}

// Arc tangent of any x.
KVBR_VECTOR_INLINE V atan(V x) {
    const AtanReduction r = atanReduce(abs(x));
    return _mm256_or_pd(atanFinish(div(r.num, r.den), r.hi, r.lo), signOf(x));
}

// e^x - 1 for 0 <= x <= 45, accurate relative to itself near 0 too:
// x = n ln 2 + r with |r| <= ln 2 / 2, e^r - 1 by its Taylor series to the
// 13th power, then 2^n (e^r - 1) + (2^n - 1) with one rounding.
KVBR_VECTOR_INLINE V expm1Small(V x) {
    const V n = _mm256_round_pd(mul(x, set(1.4426950408889634)),
                                _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    V r = fnma(n, set(6.93147180369123816490e-01), x);
    r = fnma(n, set(1.90821492927058770002e-10), r);
    // (e^r - 1 - r) / r^2 = 1/2 + r/6 + ... + r^11/13!, by Estrin's scheme.
    const V r2 = mul(r, r);
    const V r4 = mul(r2, r2);
    const V r8 = mul(r4, r4);
    const V q0 = fma(r, set(1.0 / 6.0), set(0.5));
    const V q1 = fma(r, set(1.0 / 120.0), set(1.0 / 24.0));
    const V q2 = fma(r, set(1.0 / 5040.0), set(1.0 / 720.0));
    const V q3 = fma(r, set(1.0 / 362880.0), set(1.0 / 40320.0));
    const V q4 = fma(r, set(1.0 / 39916800.0), set(1.0 / 3628800.0));
    const V q5 = fma(r, set(1.0 / 6227020800.0), set(1.0 / 479001600.0));
    V p = fma(r8, fma(r2, q5, q4), fma(r4, fma(r2, q3, q2), fma(r2, q1, q0)));
    p = fma(mul(p, r), r, r);  // e^r - 1
    const __m256i bits = _mm256_slli_epi64(
        _mm256_add_epi64(_mm256_cvtepi32_epi64(_mm256_cvtpd_epi32(n)), _mm256_set1_epi64x(1023)),
        52);
    const V scale = _mm256_castsi256_pd(bits);
    return fma(scale, p, sub(scale, set(1.0)));
}

// e^2a - 1 for a >= 0 (and NaN), held at a = 22 where tanh is 1 long since.
KVBR_VECTOR_INLINE V tanhNumerator(V a) {
    // min keeps a NaN (the second operand wins when one is NaN).
    return expm1Small(mul(set(2.0), _mm256_min_pd(set(22.0), a)));
}

// Hyperbolic tangent of any x: q / (q + 2) with q = e^2|x| - 1.
KVBR_VECTOR_INLINE V tanh(V x) {
    const V q = tanhNumerator(abs(x));
    return _mm256_or_pd(div(q, add(q, set(2.0))), signOf(x));
}

// ln(1 + u) for u >= 0 (and below 1e300): 1 + u = 2^e m with m within a
// factor of sqrt 2 of 1, ln m = 2 atanh((m - 1) / (m + 1)) by its series, and
// the rounding of 1 + u put back, so that small u keep their precision.
KVBR_VECTOR_INLINE V log1p(V u) {
    const V w = add(set(1.0), u);
    const __m256i bits = _mm256_castpd_si256(w);
    // The biased exponent as a double: 2^52 + n read back as a double is exact.
    const V biased = sub(_mm256_castsi256_pd(_mm256_or_si256(_mm256_srli_epi64(bits, 52),
                                                            _mm256_set1_epi64x(0x4330000000000000))),
                         set(4503599627370496.0));
    V m = _mm256_castsi256_pd(_mm256_or_si256(_mm256_and_si256(bits, _mm256_set1_epi64x(0x000FFFFFFFFFFFFF)),
                                              _mm256_set1_epi64x(0x3FF0000000000000)));
    const V big = greater(m, set(1.4142135623730951));
    m = select(big, mul(m, set(0.5)), m);
    const V e = add(sub(biased, set(1023.0)), _mm256_and_pd(big, set(1.0)));
    const V s = div(sub(m, set(1.0)), add(m, set(1.0)));
    const V s2 = mul(s, s);
    // atanh(s) / s - 1 = s^2/3 + s^4/5 + ... + s^20/21 (|s| < 0.172)
    V p = fma(set(1.0 / 21.0), s2, set(1.0 / 19.0));
    p = fma(p, s2, set(1.0 / 17.0));
    p = fma(p, s2, set(1.0 / 15.0));
    p = fma(p, s2, set(1.0 / 13.0));
    p = fma(p, s2, set(1.0 / 11.0));
    p = fma(p, s2, set(1.0 / 9.0));
    p = fma(p, s2, set(1.0 / 7.0));
    p = fma(p, s2, set(1.0 / 5.0));
    p = fma(p, s2, set(1.0 / 3.0));
    const V logM = fma(mul(set(2.0), s), mul(s2, p), mul(set(2.0), s));
    const V logW = fma(e, set(6.93147180369123816490e-01), fma(e, set(1.90821492927058770002e-10), logM));
    // What 1 + u lost in rounding, as a share of it.
    return add(logW, div(sub(u, sub(w, set(1.0))), w));
}

// The antiderivative of the valve's curve, zero at zero, as valveIntegral()
// of gainCurves.h: l (y atan(hy) - ln(1 + h^2 y^2) / 2h) above zero and
// l ln cosh(0.64 h y) / (0.64^2 h) below, with ln cosh a = ln(1 + 2 sinh^2(a/2))
// (sinh from e^x - 1) and a - ln 2 from a = 22 on.
KVBR_VECTOR_INLINE V valveIntegral(V y, double l, double h) {
    const V positive = greaterEqual(y, set(0.0));
    const V z = mul(set(h), y);
    const V a = _mm256_max_pd(set(0.0), mul(set(-0.64 * h), y));
    const V q = expm1Small(mul(set(0.5), _mm256_min_pd(a, set(22.0))));
    const V sinh = mul(set(0.5), add(q, div(q, add(q, set(1.0)))));
    const V logs = log1p(select(positive, mul(z, z), mul(set(2.0), mul(sinh, sinh))));
    const V above = mul(set(l), fnma(logs, set(0.5 / h), mul(y, atan(z))));
    const V logCosh = select(greaterEqual(a, set(22.0)), sub(a, set(0.69314718055994531)), logs);
    const V below = mul(set(l / (0.4096 * h)), logCosh);
    return select(positive, above, below);
}

// The valve's curve: l atan(h y) for y >= 0, l tanh(-0.64 h y) / -0.64 below.
// Audio stays on one side of zero for many samples, so most groups of four
// need only one of the two; a mixed group computes both side by side and
// keeps the right one per lane.
KVBR_VECTOR_INLINE V valve(V y, double l, double h) {
    const V positive = greaterEqual(y, set(0.0));
    const int signs = _mm256_movemask_pd(positive);
    if (signs == 0xF) {
        const AtanReduction r = atanReduce(mul(set(h), y));
        return mul(set(l), atanFinish(div(r.num, r.den), r.hi, r.lo));
    }
    const V a = mul(set(-0.64 * h), y);
    if (signs == 0) {
        const V q = tanhNumerator(a);
        return mul(div(q, add(q, set(2.0))), set(l / -0.64));
    }
    const V b = select(positive, mul(set(h), y), a);
    const AtanReduction r = atanReduce(b);
    const V q = tanhNumerator(b);
    const V arcTangent = mul(set(l), atanFinish(div(r.num, r.den), r.hi, r.lo));
    const V hyperbolicTangent = mul(div(q, add(q, set(2.0))), set(l / -0.64));
    return select(positive, arcTangent, hyperbolicTangent);
}

}  // namespace vk
