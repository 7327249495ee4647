// The opto cell: one gain factor per sample from the driven stereo signal.
#pragma once

#include <algorithm>
#include <cmath>

#include "EngineState.h"
#include "gainCurves.h"

namespace opto {

constexpr double kTwoPi = 6.283185307179586;

// Redesigns the cell's low-pass for this sample's cut-off with its own Q; the
// cell runs so low that the full design's Q correction would change nothing.
inline void redesignCell(FilterSection& cell, double fc) {
    cell.frequency = fc;
    if (fc < 0.001)
        fc = 0.001;
    else if (fc > 0.499 * cell.rate)
        fc = 0.499 * cell.rate;
    const double w = fc * kTwoPi / cell.rate;
    const double alpha = std::sin(w) / (2.0 * cell.Q);
    const double c = std::cos(w);
    const double oneMinusCos = 1.0 - c;
    cell.a0 = 1.0 + alpha;
    cell.a1 = -2.0 * c / cell.a0;
    cell.a2 = (1.0 - alpha) / cell.a0;
    cell.b0 = oneMinusCos * 0.5 / cell.a0;
    cell.b1 = oneMinusCos / cell.a0;
    cell.b2 = oneMinusCos * 0.5 / cell.a0;
}

// Gain g (0 < g <= 1) for the driven samples L and R.
// Inlined into the per-sample loop so the state stays in registers.
[[gnu::always_inline]] inline double gain(EngineState& s, double L, double R, int ratioStep,
                                          double timeFactor) {
    const double sL = s.sideChainLeft.singleStep(L);
    const double sR = s.sideChainRight.singleStep(R);
    // Both channels feed one detector, so the stereo image never shifts.
    const double P = (sL * sL + sR * sR) * 0.7071;
    const double fast = s.fastDetector.singleStep(P);
    const double slow = s.slowDetector.singleStep(P);
    // Fast over slow power: 0.2 when steady, large on a rise, small after a drop.
    const double G = std::max(fast, 1e-6) * 0.2 / std::max(slow, 1e-6);
    redesignCell(s.cellSection, (4.0 * G / (G + 1.0) + 0.1) * 0.7 / timeFactor);
    if (P > s.cellLevel) {
        // Attack: ten steps of the cell per sample.
        s.cellSection.fourStepRun(P);
        s.cellSection.fourStepRun(P);
        s.cellSection.singleStep(P);
        s.cellLevel = s.cellSection.singleStep(P);
    } else {
        s.cellLevel = s.cellSection.singleStep(P);
    }
    if (s.cellLevel < 0.001) s.cellLevel = 0.001;
    return gainCurve(ratioStep, std::sqrt(s.cellLevel));
}

}  // namespace opto
