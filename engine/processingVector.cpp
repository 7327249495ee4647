// The vector path: the baseline's pipeline, operation for operation, with
// three exceptions. Sine, cosine, arc tangent and hyperbolic tangent come from
// the kernels of vectorKernels.h, four samples at a time; the cell's cut-off
// takes one division instead of four; the gain curves multiply by reciprocals
// where they divided by 1.2 and by the level. Everything the cell's rounding
// hangs on (the cosine, the redesign's divisions, the filters) is as before.
// Only for processors with AVX2 and FMA; AutoComp picks it once, at
// construction.
//
// A filter step computes b0 x0 + b1 x1 + b2 x2 first and only then takes away
// a1 y1 and a2 y2. That first part needs no earlier output, so for the
// filters whose input is known ahead (the side-chain, the detectors, the
// meter) it is computed four samples at a time, and only the recursive rest
// runs one sample after another, the four fixed sections' rests side by side
// in one register. The cell, redesigned every sample and stepped ten times on
// an attack, runs whole as before.
//
// Each block is cut into runs of up to 32 samples, and the serial parts of
// five different runs share one loop: the smoothers and noise of run k, the
// side-chain of run k - 1, the detectors of run k - 2, the cell of run k - 3
// and the meter of run k - 4. Their chains of dependent operations then
// overlap instead of adding up. Between those loops the passes without state
// run on four lanes: drive and noise, the filters' first parts, the power,
// the cut-off with its sine and cosine and the redesign, the gain curve, the
// valve and the output.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "gainCurves.h"
#include "plugin/AutoComp.h"
#include "vectorKernels.h"

namespace {

constexpr int32 kMaxRun = 32;
constexpr int32 kStages = 5;
constexpr double kTwoPi = 6.283185307179586;

// Samples per run: 32 for ordinary blocks; shorter for small blocks, where
// filling and draining the five stages would otherwise dominate.
int32 runLength(int32 frames) {
    if (frames >= 8 * kMaxRun) return kMaxRun;
    return std::clamp((frames / 8 + 3) & ~3, 4, kMaxRun);
}

// One run of samples on its way through the stages. Lanes past n (up to the
// next multiple of four) hold copies of the last sample, so that the vector
// passes never meet anything a real sample could not hold.
struct Run {
    int32 start = 0, n = 0;
    // Stage 0: smoothers in pairs (output gain, drive), and the noise
    // generators' three words after each of their two steps per sample.
    double smoothed[2 * kMaxRun + 8];
    std::uint32_t noise[8 * kMaxRun + 32];
    double drive[kMaxRun], outputGain[kMaxRun];
    // Drive and noise: the driven signal, and the side-chain's first parts in
    // pairs (left, right).
    double L[kMaxRun], R[kMaxRun];
    double sideFeed[2 * kMaxRun];
    // Stage 1: the side-chain's outputs in pairs (left, right).
    double side[2 * kMaxRun + 8];
    // The power and the detectors' first parts in pairs (fast, slow).
    double P[kMaxRun];
    double detectorFeed[2 * kMaxRun];
    // Stage 2: the detectors in pairs (fast, slow).
    double detectors[2 * kMaxRun + 8];
    // The cell's design.
    double inverseDrive[kMaxRun], frequency[kMaxRun];
    double a0[kMaxRun], a1[kMaxRun], a2[kMaxRun], b0[kMaxRun], b1[kMaxRun];
    // Stage 3: the cell, its output before and after the floor.
    double cellOut[kMaxRun], level[kMaxRun];
    // The meter's first part; stage 4: its output.
    double meterFeed[kMaxRun], meterOut[kMaxRun];

    int32 lanes() const { return (n + 3) & ~3; }
};

// A fixed filter section split in two: its first part b0 x0 + b1 x1 + b2 x2 is
// computed ahead from the known inputs (`feed`), and `history` keeps the last
// two x of the previous run. Its offset changes sign every sample, so within
// a run that starts at a multiple of four the lanes' offsets are always
// (-o, o, -o, o) for the offset o the block started with.
struct FeedForward {
    double b0, b1, b2;
    double offset;              // at the start of the block
    double history[2];          // x2, x1 before the next run
    double x[kMaxRun + 2 + 4];  // history, then this run's x0

    explicit FeedForward(const FilterSection& f)
        : b0(f.b0), b1(f.b1), b2(f.b2), offset(f.offset), history{f.x2, f.x1} {}

    // x0 = u + offset, then the first part, for every lane of the run.
    KVBR_VECTOR void feed(const double* u, int32 n, int32 lanes, double* out) {
        using namespace vk;
        const V offsets = _mm256_setr_pd(-offset, offset, -offset, offset);
        x[0] = history[0];
        x[1] = history[1];
        for (int32 i = 0; i < lanes; i += 4) store(x + 2 + i, add(load(u + i), offsets));
        for (int32 i = 0; i < lanes; i += 4)
            store(out + i, add(add(mul(set(b0), load(x + 2 + i)), mul(set(b1), load(x + 1 + i))),
                               mul(set(b2), load(x + i))));
        history[0] = x[n];      // x0 two samples before the run's end
        history[1] = x[n + 1];  // the last x0
    }

    // The section's x after the block's last sample.
    void storeInputs(FilterSection& f) const {
        f.x0 = history[1];
        f.x1 = history[1];
        f.x2 = history[0];
    }
};

// The first parts of two sections, interleaved in pairs for the serial loop.
KVBR_VECTOR void feedPairs(FeedForward& a, const double* ua, FeedForward& b, const double* ub,
                           int32 n, int32 lanes, double* pairs) {
    double fa[kMaxRun], fb[kMaxRun];
    a.feed(ua, n, lanes, fa);
    b.feed(ub, n, lanes, fb);
    for (int32 i = 0; i < lanes; i += 4) {
        const __m256d A = _mm256_loadu_pd(fa + i), B = _mm256_loadu_pd(fb + i);
        const __m256d low = _mm256_unpacklo_pd(A, B), high = _mm256_unpackhi_pd(A, B);
        _mm256_storeu_pd(pairs + 2 * i, _mm256_permute2f128_pd(low, high, 0x20));
        _mm256_storeu_pd(pairs + 2 * i + 4, _mm256_permute2f128_pd(low, high, 0x31));
    }
}

// What the serial loop carries from sample to sample: the smoothers, the
// noise, the recursive parts of the four fixed sections in one register
// (side-chain left and right, fast and slow detector; the side-chain works
// one run ahead of the detectors), the whole cell and the meter. The fixed
// sections' offsets change sign every sample, so they are taken by the
// sample's parity instead of being carried. Outputs (y0) are not carried
// either: they go into the runs' arrays. After a step the cell's x0 equals
// its x1.
struct Serial {
    __m128d smoothed;  // (output gain, drive)
    __m128i noise;     // (s1, s2, s3, 0) of NoiseGenerators
    __m256d y1, y2;    // (side left, side right, fast, slow)
    double cellOffset, cellX1, cellX2, cellY1, cellY2, cellLevel;
    double meterY1, meterY2;
};

// What it reads and never changes. Index 0 of each pair is the offset of an
// even sample (-o, for the offset o the block started with), index 1 of an odd
// one; every run starts at an even sample.
struct SerialConstants {
    __m128d targets;  // (output gain, drive)
    __m128d engineOffset[2];
    __m256d a1, a2, offset[2];
    double meterA1, meterA2, meterOffset[2];
};

__m128d pairOf(double a, double b) { return _mm_setr_pd(a, b); }

// One sample of each active stage. Stage j works on run k - j.
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void serialStep(
    Serial& s, const SerialConstants& c, int32 i, int parity, Run* r0, Run* r1, Run* r2, Run* r3,
    Run* r4, bool a0, bool a1, bool a2, bool a3, bool a4) {
    if (a0) {
        // (target - smoothed) * 0.001 + engineOffset + smoothed
        s.smoothed =
            _mm_add_pd(_mm_add_pd(_mm_mul_pd(_mm_sub_pd(c.targets, s.smoothed), _mm_set1_pd(0.001)),
                                  c.engineOffset[parity]),
                       s.smoothed);
        _mm_storeu_pd(r0->smoothed + 2 * i, s.smoothed);
        // NoiseGenerators::step() on its three registers at once, twice.
        for (int k = 0; k < 2; ++k) {
            const __m128i t = _mm_and_si128(
                _mm_srlv_epi32(
                    _mm_xor_si128(_mm_srlv_epi32(s.noise, _mm_setr_epi32(9, 2, 6, 0)), s.noise),
                    _mm_setr_epi32(6, 7, 8, 0)),
                _mm_setr_epi32(0x1FFF, 0xFFFFF, 0x1FFFF, 0));
            s.noise = _mm_xor_si128(_mm_sllv_epi32(s.noise, _mm_setr_epi32(13, 20, 17, 0)), t);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(r0->noise + 8 * i + 4 * k), s.noise);
        }
    }
    if (a1 || a2) {
        // feed - a1 y1 - a2 y2 for the four fixed sections at once. In the
        // stages' first and last iterations one half may idle; its lanes then
        // carry on with a zero feed, and are not kept.
        const __m128d sideFeed = a1 ? _mm_loadu_pd(r1->sideFeed + 2 * i) : _mm_setzero_pd();
        const __m128d detectorFeed = a2 ? _mm_loadu_pd(r2->detectorFeed + 2 * i) : _mm_setzero_pd();
        const __m256d feed =
            _mm256_insertf128_pd(_mm256_castpd128_pd256(sideFeed), detectorFeed, 1);
        const __m256d y0 = _mm256_sub_pd(_mm256_sub_pd(feed, _mm256_mul_pd(c.a1, s.y1)),
                                         _mm256_mul_pd(c.a2, s.y2));
        const __m256d y1 = _mm256_add_pd(y0, c.offset[parity]);
        if (a1 && a2) {
            s.y2 = s.y1;
            s.y1 = y1;
        } else {
            // Only the working half moves on.
            if (a1) {
                s.y2 = _mm256_blend_pd(s.y2, s.y1, 0x3);
                s.y1 = _mm256_blend_pd(s.y1, y1, 0x3);
            } else {
                s.y2 = _mm256_blend_pd(s.y2, s.y1, 0xC);
                s.y1 = _mm256_blend_pd(s.y1, y1, 0xC);
            }
        }
        if (a1) _mm_storeu_pd(r1->side + 2 * i, _mm256_castpd256_pd128(y0));
        if (a2) _mm_storeu_pd(r2->detectors + 2 * i, _mm256_extractf128_pd(y0, 1));
    }
    if (a3) {
        // The cell, whole, with this sample's design.
        const double b0 = r3->b0[i], b1 = r3->b1[i], b2 = b0, ca1 = r3->a1[i], ca2 = r3->a2[i];
        const double P = r3->P[i];
        double x0, x1 = s.cellX1, x2 = s.cellX2, y0, y1 = s.cellY1, y2 = s.cellY2;
        double offset = s.cellOffset;
#define KVBR_CELL_ADVANCE                                   \
    y0 = b0 * x0 + b1 * x1 + b2 * x2 - ca1 * y1 - ca2 * y2; \
    y2 = y1;                                                \
    y1 = y0 + offset;                                       \
    x2 = x1;                                                \
    x1 = x0;
        offset = -offset;
        x0 = P + offset;
        KVBR_CELL_ADVANCE
        if (P > s.cellLevel) {
            // Attack: ten steps per sample (fourStepRun twice, singleStep
            // twice); the first is the step above.
            KVBR_CELL_ADVANCE
            KVBR_CELL_ADVANCE
            KVBR_CELL_ADVANCE
            offset = -offset;
            x0 = P + offset;
            KVBR_CELL_ADVANCE
            KVBR_CELL_ADVANCE
            KVBR_CELL_ADVANCE
            KVBR_CELL_ADVANCE
            offset = -offset;
            x0 = P + offset;
            KVBR_CELL_ADVANCE
            offset = -offset;
            x0 = P + offset;
            KVBR_CELL_ADVANCE
        }
#undef KVBR_CELL_ADVANCE
        s.cellX1 = x1;
        s.cellX2 = x2;
        s.cellY1 = y1;
        s.cellY2 = y2;
        s.cellOffset = offset;
        s.cellLevel = y0 < 0.001 ? 0.001 : y0;
        r3->cellOut[i] = y0;
        r3->level[i] = s.cellLevel;
    }
    if (a4) {
        const double y0 = r4->meterFeed[i] - c.meterA1 * s.meterY1 - c.meterA2 * s.meterY2;
        r4->meterOut[i] = y0;
        s.meterY2 = s.meterY1;
        s.meterY1 = y0 + c.meterOffset[parity];
    }
}

// The serial parts of one iteration. When all five stages work on full runs
// (every iteration but the first four and the last four of a block) the loop
// runs without conditions, two samples per turn so that the parity is fixed.
template <bool Steady>
[[gnu::target("avx2,fma"), gnu::always_inline]] inline void serialRuns(Serial& state,
                                                                       const SerialConstants& c,
                                                                       Run* const* r,
                                                                       const int32* n) {
    Serial s = state;
    if constexpr (Steady) {
        for (int32 i = 0; i < n[0]; i += 2) {
            serialStep(s, c, i, 0, r[0], r[1], r[2], r[3], r[4], true, true, true, true, true);
            serialStep(s, c, i + 1, 1, r[0], r[1], r[2], r[3], r[4], true, true, true, true, true);
        }
    } else {
        const int32 longest = std::max({n[0], n[1], n[2], n[3], n[4]});
        for (int32 i = 0; i < longest; ++i)
            serialStep(s, c, i, i & 1, r[0], r[1], r[2], r[3], r[4], i < n[0], i < n[1], i < n[2],
                       i < n[3], i < n[4]);
    }
    state = s;
}

// Four pairs (x, y) from p: the four x and the four y.
KVBR_VECTOR_INLINE void loadPairs(const double* p, vk::V& x, vk::V& y) {
    const vk::V a = _mm256_loadu_pd(p), b = _mm256_loadu_pd(p + 4);
    x = _mm256_permute4x64_pd(_mm256_unpacklo_pd(a, b), 0xD8);
    y = _mm256_permute4x64_pd(_mm256_unpackhi_pd(a, b), 0xD8);
}

template <typename Sample>
KVBR_VECTOR_INLINE vk::V loadInput(const Sample* p) {
    if constexpr (sizeof(Sample) == sizeof(float))
        return _mm256_cvtps_pd(_mm_loadu_ps(p));
    else
        return _mm256_loadu_pd(p);
}

// NoiseGenerators::value() of four words.
KVBR_VECTOR_INLINE vk::V noiseValues(__m128i w) {
    using namespace vk;
    // Unsigned to double, exactly: flip the top bit, convert as signed, add 2^31.
    const V u =
        add(_mm256_cvtepi32_pd(_mm_xor_si128(w, _mm_set1_epi32(INT32_MIN))), set(2147483648.0));
    return mul(sub(mul(mul(u, set(2.3283064365e-10)), set(2.0)), set(1.0)), set(1e-10));
}

// The words s1 ^ s2 ^ s3 of four samples' two generator states each: the
// left channel's (first step) and the right channel's (second step).
KVBR_VECTOR_INLINE void noiseWords(const std::uint32_t* states, __m128i& left, __m128i& right) {
    __m256i y[4];
    for (int k = 0; k < 4; ++k) {
        __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states + 8 * k));
        x = _mm256_xor_si256(x, _mm256_shuffle_epi32(x, 0xB1));     // (s1 ^ s2, ., s3, .)
        y[k] = _mm256_xor_si256(x, _mm256_shuffle_epi32(x, 0x4E));  // s1 ^ s2 ^ s3 first
    }
    const __m256i u = _mm256_unpacklo_epi32(y[0], y[1]);  // (L0, L1, ., . | R0, R1, ., .)
    const __m256i v = _mm256_unpacklo_epi32(y[2], y[3]);
    const __m256i w = _mm256_unpacklo_epi64(u, v);  // (L0 L1 L2 L3 | R0 R1 R2 R3)
    left = _mm256_castsi256_si128(w);
    right = _mm256_extracti128_si256(w, 1);
}

// The driven signal: audibleOrZero(input) * drive + noise, per channel. The
// last lanes of a block are read through a copy: the host's buffer ends there.
template <typename Sample>
KVBR_VECTOR void driveRun(Run& r, const Sample* inL, const Sample* inR, int32 frames) {
    using namespace vk;
    for (int32 i = 0; i < r.lanes(); i += 4) {
        V outputGain, drive;
        loadPairs(r.smoothed + 2 * i, outputGain, drive);
        store(r.drive + i, drive);
        store(r.outputGain + i, outputGain);
        V l, rr;
        if (r.start + i + 4 <= frames) {
            l = loadInput(inL + r.start + i);
            rr = loadInput(inR + r.start + i);
        } else {
            Sample left[4], right[4];
            for (int32 k = 0; k < 4; ++k) {
                const int32 at = std::min(r.start + i + k, frames - 1);
                left[k] = inL[at];
                right[k] = inR[at];
            }
            l = loadInput(left);
            rr = loadInput(right);
        }
        const V audibleL = _mm256_and_pd(lessEqual(abs(l), set(kLargestSample)), l);
        const V audibleR = _mm256_and_pd(lessEqual(abs(rr), set(kLargestSample)), rr);
        __m128i wordsL, wordsR;
        noiseWords(r.noise + 8 * i, wordsL, wordsR);
        store(r.L + i, add(mul(audibleL, drive), noiseValues(wordsL)));
        store(r.R + i, add(mul(audibleR, drive), noiseValues(wordsR)));
    }
}

// (sL sL + sR sR) * 0.7071, as opto::detect.
KVBR_VECTOR void powerRun(Run& r) {
    using namespace vk;
    for (int32 i = 0; i < r.lanes(); i += 4) {
        V sL, sR;
        loadPairs(r.side + 2 * i, sL, sR);
        store(r.P + i, mul(add(mul(sL, sL), mul(sR, sR)), set(0.7071)));
    }
}

// The inverse drive, the cell's cut-off and angle, its sine and cosine and
// its redesign, as opto::cellFrequency, cellAngle and cellCoefficients. The
// redesign divides exactly as the baseline does: 1 - cos of a tiny angle is
// what the cell lives on, and its coefficients' last bits move its level. The
// cut-off is computed with one division instead of four (by the time factor
// and the rate it multiplies by their reciprocals, and 4 G / (G + 1) with
// G = 0.2 fast / slow becomes 4 (0.2 fast) / (0.2 fast + slow)): a few units
// in the last place of the angle move its cosine only once in some ten
// million samples.
KVBR_VECTOR void prepareCell(Run& r, double timeFactor, double rate, double Q) {
    using namespace vk;
    const V high = set(0.499 * rate);
    const V twoQ = set(2.0 * Q);
    const V one = set(1.0);
    const V scale = set(0.7 / timeFactor);
    const V toAngle = set(kTwoPi / rate);
    for (int32 i = 0; i < r.lanes(); i += 4) {
        store(r.inverseDrive + i, div(one, load(r.drive + i)));
        V fast, slow;
        loadPairs(r.detectors + 2 * i, fast, slow);
        const V floorFast = select(less(fast, set(1e-6)), set(1e-6), fast);
        const V floorSlow = select(less(slow, set(1e-6)), set(1e-6), slow);
        const V a = mul(floorFast, set(0.2));
        const V frequency = mul(add(div(mul(set(4.0), a), add(a, floorSlow)), set(0.1)), scale);
        store(r.frequency + i, frequency);
        const V fc = select(less(frequency, set(0.001)), set(0.001),
                            select(greater(frequency, high), high, frequency));
        V sine, cosine;
        sinCos(mul(fc, toAngle), sine, cosine);
        const V alpha = div(sine, twoQ);
        const V oneMinusCos = sub(one, cosine);
        const V a0 = add(one, alpha);
        store(r.a0 + i, a0);
        store(r.a1 + i, div(mul(set(-2.0), cosine), a0));
        store(r.a2 + i, div(sub(one, alpha), a0));
        store(r.b0 + i, div(mul(oneMinusCos, set(0.5)), a0));
        store(r.b1 + i, div(oneMinusCos, a0));
    }
}

// gainCurve() of gainCurves.h, four levels at a time. Divisions by 1.2 and by
// the level become multiplications by reciprocals (the gain's last bit or two
// change, far below anything the output shows).
KVBR_VECTOR_INLINE vk::V gainCurve4(int ratioStep, vk::V x) {
    using namespace vk;
    const V one = set(1.0);
    switch (ratioStep) {
        case 0:
            return add(div(set(0.6), add(mul(x, set(0.4)), one)), set(0.4));
        case 1:
            return add(div(set(0.8), add(mul(x, set(0.4)), one)), set(0.2));
        case 2: {
            const V inverse = div(one, x), q = div(one, add(mul(x, set(0.35)), one));
            const V a = mul(add(mul(mul(x, set(0.9)), q), mul(x, set(0.1))), set(0.7));
            const V b =
                mul(add(mul(atan(mul(x, set(1.2))), set(0.92 / 1.2)), mul(x, set(0.08))), set(0.3));
            return mul(add(a, b), inverse);
        }
        case 3: {
            const V inverse = div(one, x), q = div(one, add(mul(x, set(0.35)), one));
            const V a = mul(add(mul(mul(x, set(0.95)), q), mul(x, set(0.05))), set(0.35));
            const V b = mul(add(mul(atan(mul(x, set(1.2))), set(0.95 / 1.2)), mul(x, set(0.05))),
                            set(0.65));
            return mul(add(a, b), inverse);
        }
        case 4:
            return mul(add(mul(atan(mul(x, set(1.2))), set(0.97 / 1.2)), mul(x, set(0.03))),
                       div(one, x));
        case 5: {
            const V inverse = div(one, x);
            const V a = mul(add(mul(atan(mul(x, set(1.2))), set(0.982 / 1.2)), mul(x, set(0.018))),
                            set(0.5));
            const V b = mul(add(mul(tanh(x), set(0.982)), mul(x, set(0.018))), set(0.5));
            return mul(add(a, b), inverse);
        }
        case 6:
            return mul(add(mul(tanh(x), set(0.99)), mul(x, set(0.01))), div(one, x));
        default:
            return one;
    }
}

template <typename Sample>
KVBR_VECTOR_INLINE void storeOutput(Sample* out, vk::V v, int32 count) {
    if constexpr (sizeof(Sample) == sizeof(float)) {
        const __m128 f = _mm256_cvtpd_ps(v);
        if (count == 4) {
            _mm_storeu_ps(out, f);
        } else {
            float lanes[4];
            _mm_storeu_ps(lanes, f);
            for (int32 k = 0; k < count; ++k) out[k] = lanes[k];
        }
    } else {
        if (count == 4) {
            _mm256_storeu_pd(out, v);
        } else {
            double lanes[4];
            _mm256_storeu_pd(lanes, v);
            for (int32 k = 0; k < count; ++k) out[k] = lanes[k];
        }
    }
}

// The gain curve, the valve and the output scaling of a run whose cell has
// run; the gains go on to the meter's first part. One pass per quantity and
// channel: the kernels' chains of dependent operations are long, and short
// loops let the processor overlap those of many lanes.
template <typename Sample>
KVBR_VECTOR void finishRun(Run& r, int ratioStep, bool valve, const ValveConstants& constants,
                           Sample* outL, Sample* outR, double* gains) {
    using namespace vk;
    const int32 lanes = r.lanes();
    for (int32 i = 0; i < lanes; i += 4)
        store(gains + i, gainCurve4(ratioStep, _mm256_sqrt_pd(load(r.level + i))));
    if (valve) {
        for (int32 i = 0; i < lanes; i += 4)
            store(r.L + i,
                  vk::valve(mul(load(gains + i), load(r.L + i)), constants.l, constants.h));
        for (int32 i = 0; i < lanes; i += 4)
            store(r.R + i,
                  vk::valve(mul(load(gains + i), load(r.R + i)), constants.l, constants.h));
    } else {
        for (int32 i = 0; i < lanes; i += 4) {
            const V gain = load(gains + i);
            store(r.L + i, mul(gain, load(r.L + i)));
            store(r.R + i, mul(gain, load(r.R + i)));
        }
    }
    for (int32 i = 0; i < lanes; i += 4) {
        const V inverseDrive = load(r.inverseDrive + i), outputGain = load(r.outputGain + i);
        const int32 count = std::min<int32>(4, r.n - i);
        // Left first: with one output buffer for both, the right one is kept.
        storeOutput(outL + r.start + i, mul(mul(load(r.L + i), inverseDrive), outputGain), count);
        storeOutput(outR + r.start + i, mul(mul(load(r.R + i), inverseDrive), outputGain), count);
    }
}

template <typename T>
void padTo4(T* values, int32 n) {
    for (int32 i = n; i < ((n + 3) & ~3); ++i) values[i] = values[n - 1];
}

void padPairsTo4(double* pairs, int32 n) {
    for (int32 i = n; i < ((n + 3) & ~3); ++i) {
        pairs[2 * i] = pairs[2 * n - 2];
        pairs[2 * i + 1] = pairs[2 * n - 1];
    }
}

// What a block needs of the effect besides its engine state.
struct BlockSettings {
    double targetOutput, targetDrive, timeFactor;
    bool valve;
    int ratioStep;
};

template <typename Sample>
KVBR_VECTOR void processRuns(EngineState& s, std::atomic<double>& meterReading,
                             const BlockSettings& settings, const Sample* inL, const Sample* inR,
                             Sample* outL, Sample* outR, int32 frames) {
    const double rate = s.cellSection.rate;
    const double Q = s.cellSection.Q;
    const ValveConstants constants = valveConstants(settings.ratioStep);

    FeedForward sideFeedLeft(s.sideChainLeft), sideFeedRight(s.sideChainRight);
    FeedForward fastFeed(s.fastDetector), slowFeed(s.slowDetector), meterFeed(s.meterSection);

    SerialConstants c;
    const FilterSection* fixed[4] = {&s.sideChainLeft, &s.sideChainRight, &s.fastDetector,
                                     &s.slowDetector};
    c.targets = pairOf(settings.targetOutput, settings.targetDrive);
    c.engineOffset[0] = _mm_set1_pd(-s.engineOffset);
    c.engineOffset[1] = _mm_set1_pd(s.engineOffset);
    c.a1 = _mm256_setr_pd(fixed[0]->a1, fixed[1]->a1, fixed[2]->a1, fixed[3]->a1);
    c.a2 = _mm256_setr_pd(fixed[0]->a2, fixed[1]->a2, fixed[2]->a2, fixed[3]->a2);
    c.offset[1] =
        _mm256_setr_pd(fixed[0]->offset, fixed[1]->offset, fixed[2]->offset, fixed[3]->offset);
    c.offset[0] = _mm256_xor_pd(c.offset[1], _mm256_set1_pd(-0.0));
    c.meterA1 = s.meterSection.a1;
    c.meterA2 = s.meterSection.a2;
    c.meterOffset[0] = -s.meterSection.offset;
    c.meterOffset[1] = s.meterSection.offset;

    const FilterSection& cellSection = s.cellSection;
    Serial serial{pairOf(s.smoothedOutputGain, s.smoothedDrive),
                  _mm_setr_epi32(static_cast<int>(s.noise.s1), static_cast<int>(s.noise.s2),
                                 static_cast<int>(s.noise.s3), 0),
                  _mm256_setr_pd(fixed[0]->y1, fixed[1]->y1, fixed[2]->y1, fixed[3]->y1),
                  _mm256_setr_pd(fixed[0]->y2, fixed[1]->y2, fixed[2]->y2, fixed[3]->y2),
                  cellSection.offset,
                  cellSection.x1,
                  cellSection.x2,
                  cellSection.y1,
                  cellSection.y2,
                  s.cellLevel,
                  s.meterSection.y1,
                  s.meterSection.y2};

    Run runs[kStages];
    double gains[kMaxRun + 4];
    const int32 length = runLength(frames);
    const int32 count = (frames + length - 1) / length;
    Run* lastCell = nullptr;
    for (int32 k = 0; k < count + kStages - 1; ++k) {
        // Stage j works on run k - j.
        Run* stage[kStages];
        int32 n[kStages];
        bool steady = true;
        for (int32 j = 0; j < kStages; ++j) {
            const int32 index = k - j;
            stage[j] = index >= 0 && index < count ? &runs[index % kStages] : nullptr;
            n[j] = stage[j] ? std::min(length, frames - index * length) : 0;
            steady = steady && n[j] == length;
        }
        if (Run* r = stage[0]) {
            r->start = k * length;
            r->n = n[0];
        }
        if (steady)
            serialRuns<true>(serial, c, stage, n);
        else
            serialRuns<false>(serial, c, stage, n);
        if (stage[4]) meterReading.store(stage[4]->meterOut[n[4] - 1], std::memory_order_relaxed);

        Run* const s0 = stage[0];
        Run* const s1 = stage[1];
        Run* const s2 = stage[2];
        Run* const s3 = stage[3];
        if (s0) {
            padPairsTo4(s0->smoothed, n[0]);
            for (int32 i = n[0]; i < s0->lanes(); ++i)
                for (int32 k = 0; k < 8; ++k) s0->noise[8 * i + k] = s0->noise[8 * (n[0] - 1) + k];
            driveRun(*s0, inL, inR, frames);
            feedPairs(sideFeedLeft, s0->L, sideFeedRight, s0->R, n[0], s0->lanes(), s0->sideFeed);
        }
        if (s1) {
            padPairsTo4(s1->side, n[1]);
            powerRun(*s1);
            feedPairs(fastFeed, s1->P, slowFeed, s1->P, n[1], s1->lanes(), s1->detectorFeed);
        }
        if (s2) {
            padPairsTo4(s2->detectors, n[2]);
            prepareCell(*s2, settings.timeFactor, rate, Q);
        }
        if (s3) {
            padTo4(s3->level, n[3]);
            finishRun(*s3, settings.ratioStep, settings.valve, constants, outL, outR, gains);
            meterFeed.feed(gains, n[3], s3->lanes(), s3->meterFeed);
            lastCell = s3;
        }
    }

    // Back into the engine state, as the baseline would have left it.
    const double flip =
        frames % 2 ? -1.0 : 1.0;  // offsets after an odd number of steps change sign
    sideFeedLeft.storeInputs(s.sideChainLeft);
    sideFeedRight.storeInputs(s.sideChainRight);
    fastFeed.storeInputs(s.fastDetector);
    slowFeed.storeInputs(s.slowDetector);
    meterFeed.storeInputs(s.meterSection);
    FilterSection* const sections[4] = {&s.sideChainLeft, &s.sideChainRight, &s.fastDetector,
                                        &s.slowDetector};
    // Every stage's last run is the block's last run.
    const Run& last = *lastCell;
    const int32 end = last.n - 1;
    s.sideChainLeft.y0 = last.side[2 * end];
    s.sideChainRight.y0 = last.side[2 * end + 1];
    s.fastDetector.y0 = last.detectors[2 * end];
    s.slowDetector.y0 = last.detectors[2 * end + 1];
    double lanes[4];
    _mm256_storeu_pd(lanes, serial.y1);
    for (int j = 0; j < 4; ++j) sections[j]->y1 = lanes[j];
    _mm256_storeu_pd(lanes, serial.y2);
    for (int j = 0; j < 4; ++j) sections[j]->y2 = lanes[j];
    _mm_storeu_pd(lanes, serial.smoothed);
    s.smoothedOutputGain = lanes[0];
    s.smoothedDrive = lanes[1];
    for (FilterSection* f :
         {&s.sideChainLeft, &s.sideChainRight, &s.fastDetector, &s.slowDetector, &s.meterSection})
        f->offset *= flip;
    s.engineOffset *= flip;
    s.meterSection.y0 = last.meterOut[end];
    s.meterSection.y1 = serial.meterY1;
    s.meterSection.y2 = serial.meterY2;
    FilterSection& cell = s.cellSection;
    cell.offset = serial.cellOffset;
    cell.x0 = serial.cellX1;
    cell.x1 = serial.cellX1;
    cell.x2 = serial.cellX2;
    cell.y0 = last.cellOut[end];
    cell.y1 = serial.cellY1;
    cell.y2 = serial.cellY2;
    cell.frequency = last.frequency[end];
    cell.a0 = last.a0[end];
    cell.a1 = last.a1[end];
    cell.a2 = last.a2[end];
    cell.b0 = last.b0[end];
    cell.b1 = last.b1[end];
    cell.b2 = last.b0[end];
    std::uint32_t words[4];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(words), serial.noise);
    s.noise.s1 = words[0];
    s.noise.s2 = words[1];
    s.noise.s3 = words[2];
    s.cellLevel = serial.cellLevel;
    s.inverseDrive = last.inverseDrive[end];
}

}  // namespace

template <typename Sample>
void AutoComp::processVector(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                             int32 sampleFrames, int32 step) {
    if (sampleFrames <= 0) return;
    // The targets are read once per block (the baseline reads them per sample;
    // between blocks, where hosts change them, the two agree).
    const BlockSettings settings{getOutputGain(), getCompressionGain(), getTimeFactor(),
                                 getProcessMode() == 2, step};
    processRuns(engine, meterReading, settings, inL, inR, outL, outR, sampleFrames);
}

template void AutoComp::processVector(const float*, const float*, float*, float*, int32, int32);
template void AutoComp::processVector(const double*, const double*, double*, double*, int32, int32);
