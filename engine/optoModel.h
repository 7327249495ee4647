// The opto cell: one gain factor per sample from the driven stereo signal.
// It comes in two halves so the driver can overlap the detector work of one
// sample with the cell work of the previous one; the arithmetic is unchanged.
#pragma once

#include <algorithm>
#include <cmath>

#include "EngineState.h"
#include "gainCurves.h"

namespace opto {

constexpr double kTwoPi = 6.283185307179586;

// What the detector half hands the cell half for one sample.
struct CellDrive {
    double P;          // linked side-chain power
    double frequency;  // the cut-off as computed, unclamped
    double a0, a1, a2, b0, b1, b2;
};

// Side-chain, detectors and the cell's coefficients for this sample's cut-off.
// The cell runs so low that the full design's Q correction would change
// nothing, so it is redesigned with its own Q.
[[gnu::always_inline]] inline CellDrive detect(EngineState& s, double L, double R,
                                               double timeFactor) {
    const double sL = s.sideChainLeft.singleStep(L);
    const double sR = s.sideChainRight.singleStep(R);
    CellDrive d;
    // Both channels feed one detector, so the stereo image never shifts.
    d.P = (sL * sL + sR * sR) * 0.7071;
    const double fast = s.fastDetector.singleStep(d.P);
    const double slow = s.slowDetector.singleStep(d.P);
    // Fast over slow power: 0.2 when steady, large on a rise, small after a drop.
    const double G = std::max(fast, 1e-6) * 0.2 / std::max(slow, 1e-6);
    d.frequency = (4.0 * G / (G + 1.0) + 0.1) * 0.7 / timeFactor;
    double fc = d.frequency;
    const double rate = s.cellSection.rate;
    if (fc < 0.001)
        fc = 0.001;
    else if (fc > 0.499 * rate)
        fc = 0.499 * rate;
    const double w = fc * kTwoPi / rate;
    const double alpha = std::sin(w) / (2.0 * s.cellSection.Q);
    const double c = std::cos(w);
    const double oneMinusCos = 1.0 - c;
    d.a0 = 1.0 + alpha;
    d.a1 = -2.0 * c / d.a0;
    d.a2 = (1.0 - alpha) / d.a0;
    d.b0 = oneMinusCos * 0.5 / d.a0;
    d.b1 = oneMinusCos / d.a0;
    d.b2 = d.b0;  // the same expression as b0
    return d;
}

// Moves the cell toward the power and returns the gain g (0 < g <= 1).
[[gnu::always_inline]] inline double cellGain(EngineState& s, const CellDrive& d, int ratioStep) {
    FilterSection& cell = s.cellSection;
    cell.frequency = d.frequency;
    cell.a0 = d.a0;
    cell.a1 = d.a1;
    cell.a2 = d.a2;
    cell.b0 = d.b0;
    cell.b1 = d.b1;
    cell.b2 = d.b2;
    if (d.P > s.cellLevel) {
        // Attack: ten steps of the cell per sample.
        cell.fourStepRun(d.P);
        cell.fourStepRun(d.P);
        cell.singleStep(d.P);
        s.cellLevel = cell.singleStep(d.P);
    } else {
        s.cellLevel = cell.singleStep(d.P);
    }
    if (s.cellLevel < 0.001) s.cellLevel = 0.001;
    return gainCurve(ratioStep, std::sqrt(s.cellLevel));
}

// Both halves for one sample, in order.
inline double gain(EngineState& s, double L, double R, int ratioStep, double timeFactor) {
    return cellGain(s, detect(s, L, R, timeFactor), ratioStep);
}

}  // namespace opto
