// The vector path: the baseline's pipeline, operation for operation, with
// three exceptions. Sine, cosine, arc tangent and hyperbolic tangent come from
// the kernels of vectorKernels.h, four samples at a time; the cell's cut-off
// takes one division instead of four; the gain curves multiply by reciprocals
// where they divided by 1.2 and by the level. Everything the cell's rounding
// hangs on (the cosine, the redesign's divisions, the filters) is as before.
// Only for processors with AVX2 and FMA; the engine picks it once, at
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
#include "Engine.h"
#include "crossfade.h"
#include "optoModel.h"
#include "vectorKernels.h"
#include "vectorRun.h"
#include "vectorSerial.h"
#include "vectorValve.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

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

// Four samples of a channel from lane i of a run on. The last lanes of a
// block are read through a copy: the host's buffer ends there.
template <typename Sample>
KVBR_VECTOR_INLINE vk::V loadLanes(const Sample* in, const Run& r, int32 i, int32 frames) {
    if (r.start + i + 4 <= frames) return loadInput(in + r.start + i);
    Sample copy[4];
    for (int32 k = 0; k < 4; ++k) copy[k] = in[std::min(r.start + i + k, frames - 1)];
    return loadInput(copy);
}

// audibleOrZero(x) * drive + noise.
KVBR_VECTOR_INLINE vk::V driven(vk::V x, vk::V drive, __m128i words) {
    using namespace vk;
    const V audible = _mm256_and_pd(lessEqual(abs(x), set(kLargestSample)), x);
    return add(mul(audible, drive), noiseValues(words));
}

// What the detector listens to, per channel (see Engine::Detector): the
// key, if any, driven as the input is; then the Sidechain Filter, if on.
template <typename Sample>
struct Heard {
    const Sample* keyL;
    const Sample* keyR;
    bool filtered;
    bool differs() const { return keyL || filtered; }
};

// The driven signal: audibleOrZero(input) * drive + noise, per channel, and
// what the detector hears when that is not it.
template <typename Sample>
KVBR_VECTOR void driveRun(Run& r, const Sample* inL, const Sample* inR, const Heard<Sample>& heard,
                          int32 frames, EngineState& s) {
    using namespace vk;
    for (int32 i = 0; i < r.lanes(); i += 4) {
        V outputGain, drive;
        loadPairs(r.smoothed + 2 * i, outputGain, drive);
        store(r.drive + i, drive);
        store(r.outputGain + i, outputGain);
        __m128i wordsL, wordsR;
        noiseWords(r.noise + 8 * i, wordsL, wordsR);
        store(r.L + i, driven(loadLanes(inL, r, i, frames), drive, wordsL));
        store(r.R + i, driven(loadLanes(inR, r, i, frames), drive, wordsR));
        if (heard.keyL) {
            store(r.heardL + i, driven(loadLanes(heard.keyL, r, i, frames), drive, wordsL));
            store(r.heardR + i, driven(loadLanes(heard.keyR, r, i, frames), drive, wordsR));
        }
    }
    if (!heard.filtered) return;
    const double* fromL = heard.keyL ? r.heardL : r.L;
    const double* fromR = heard.keyL ? r.heardR : r.R;
    // The filter is recursive: one sample after another, as the baseline runs it.
    for (int32 i = 0; i < r.n; ++i) {
        r.heardL[i] = s.detectorFilterLeft.singleStep(fromL[i]);
        r.heardR[i] = s.detectorFilterRight.singleStep(fromR[i]);
    }
    for (int32 i = r.n; i < r.lanes(); ++i) {
        r.heardL[i] = r.heardL[r.n - 1];
        r.heardR[i] = r.heardR[r.n - 1];
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
    int oversampling;                  // 0, or the valve at 2 (1) or 4 (2) times the rate
    oversampling::Valve* oversampled;  // left and right
    // During a crossfade: the two settings, the samples done before the
    // block and the length, and each setting's oversampled valves.
    struct Fade {
        OutputSetting from, to;
        int32 position, length;
        oversampling::Valve *leaving, *coming;
    };
    const Fade* fade;
};

// The crossfade over the first `count` samples of a run, one at a time:
// both settings' outputs from the run's front, blended, and the blended gain
// for the meter, into the arrays given, every input read before any output
// is written (they may share memory).
template <typename Sample>
void fadeRun(const Run& r, const BlockSettings::Fade& f, const Sample* inL, const Sample* inR, int32 count,
             double* left, double* right, double* gains) {
    for (int32 i = 0; i < count; ++i) {
        const int32 at = r.start + i;
        const double w = crossfade::share(f.position + at + 1, f.length);
        const double gainFrom = f.from.mode ? opto::levelGain(r.level[i], f.from.step) : 1.0;
        const double gainTo = f.to.mode ? opto::levelGain(r.level[i], f.to.step) : 1.0;
        gains[i] = gainFrom * (1.0 - w) + gainTo * w;
        const double inputL = audibleOrZero(inL[at]), inputR = audibleOrZero(inR[at]);
        const double d = r.inverseDrive[i], o = r.outputGain[i];
        left[i] = crossfade::outputOf(f.from, r.L[i], gainFrom, inputL, d, o, f.leaving[0]) * (1.0 - w) +
                  crossfade::outputOf(f.to, r.L[i], gainTo, inputL, d, o, f.coming[0]) * w;
        right[i] = crossfade::outputOf(f.from, r.R[i], gainFrom, inputR, d, o, f.leaving[1]) * (1.0 - w) +
                   crossfade::outputOf(f.to, r.R[i], gainTo, inputR, d, o, f.coming[1]) * w;
    }
}

template <typename Sample>
KVBR_VECTOR void finishRun(Run& r, const BlockSettings& settings, const ValveConstants& constants,
                           const Sample* inL, const Sample* inR, Sample* outL, Sample* outR, double* gains) {
    using namespace vk;
    if (const BlockSettings::Fade* f = settings.fade) {
        // A call within a crossfade holds its samples only.
        double left[kMaxRun], right[kMaxRun];
        fadeRun(r, *f, inL, inR, r.n, left, right, gains);
        for (int32 i = 0; i < r.n; ++i) {
            // Left first: with one output buffer for both, the right one is kept.
            outL[r.start + i] = static_cast<Sample>(left[i]);
            outR[r.start + i] = static_cast<Sample>(right[i]);
        }
        padTo4(gains, r.n);
        return;
    }
    const int32 lanes = r.lanes();
    for (int32 i = 0; i < lanes; i += 4)
        store(gains + i, gainCurve4(settings.ratioStep, _mm256_sqrt_pd(load(r.level + i))));
    if (settings.valve && settings.oversampling) {
        // The oversampled valve carries state from sample to sample: the run's
        // own samples only, one after another.
        for (int32 i = 0; i < r.n; ++i) {
            r.L[i] *= gains[i];
            r.R[i] *= gains[i];
            vectorvalve::process(settings.oversampled, r.L[i], r.R[i], constants, settings.oversampling);
        }
    } else if (settings.valve) {
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

template <typename Sample>
KVBR_VECTOR void processRuns(EngineState& s, std::atomic<double>& meterReading,
                             const BlockSettings& settings, const Sample* inL, const Sample* inR,
                             const Heard<Sample>& heard, Sample* outL, Sample* outR, int32 frames) {
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
            driveRun(*s0, inL, inR, heard, frames, s);
            const bool other = heard.differs();
            feedPairs(sideFeedLeft, other ? s0->heardL : s0->L, sideFeedRight, other ? s0->heardR : s0->R,
                      n[0], s0->lanes(), s0->sideFeed);
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
            finishRun(*s3, settings, constants, inL, inR, outL, outR, gains);
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
void Engine::processVector(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                           int32 sampleFrames, const OutputSetting& setting,
                           const EngineValues& values, const Detector<Sample>& detector,
                           const Fade* fading) {
    if (sampleFrames <= 0) return;
    BlockSettings::Fade blend{};
    if (fading)
        blend = {fading->from, fading->to, fading->position, fading->length, valvesOf(false).data(),
                 valvesOf(true).data()};
    const BlockSettings settings{values.outputGain, values.compressionGain, values.timeFactor,
                                 setting.mode == 2, setting.step, setting.oversampling,
                                 valvesOf(false).data(), fading ? &blend : nullptr};
    const Heard<Sample> heard{detector.keyL, detector.keyR, detector.filtered};
    processRuns(engine, meterReading, settings, inL, inR, heard, outL, outR, sampleFrames);
}

template void Engine::processVector(const float*, const float*, float*, float*, int32,
                                    const OutputSetting&, const EngineValues&, const Detector<float>&,
                                    const Fade*);
template void Engine::processVector(const double*, const double*, double*, double*, int32,
                                    const OutputSetting&, const EngineValues&, const Detector<double>&,
                                    const Fade*);

// The dry path of a blend: both channels through the filters at once.
KVBR_VECTOR void Engine::dryThroughVector(int phase, double& left, double& right) {
    vectorvalve::process<true>(dryFilters[static_cast<std::size_t>(phase - 1)].data(), left, right,
                               ValveConstants{1.0, 1.0}, phase);
}
