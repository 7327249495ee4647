// The vector path's runs of samples: what a run carries through the stages,
// and the fixed filters' first parts computed ahead four samples at a time.
// Part of processingVector.cpp, which alone includes it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "FilterSection.h"
#include "vectorKernels.h"

namespace {

using int32 = std::int32_t;

constexpr int32 kMaxRun = 32;
constexpr int32 kStages = 5;

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
    // What the detector hears when it is not the driven signal: the driven
    // key, the Sidechain Filter's output, or both.
    double heardL[kMaxRun], heardR[kMaxRun];
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

}  // namespace
