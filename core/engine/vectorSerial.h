// The vector path's serial loop: the filters' recursive parts, the smoothers,
// the noise, the cell and the meter, one sample after another, five runs at
// once. Part of processingVector.cpp, which alone includes it.
#pragma once

#include <algorithm>

#include "EngineState.h"
#include "vectorRun.h"

namespace {

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

}  // namespace
