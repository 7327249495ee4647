// The opto cell: one gain factor per sample from the driven stereo signal.
// It comes in pieces (detectors, cut-off, redesign, cell, gain curve) so the
// driver can run each over a run of samples; the arithmetic is unchanged.
#pragma once

#include <cmath>

#include "EngineState.h"
#include "gainCurves.h"

namespace opto {

constexpr double kTwoPi = 6.283185307179586;

// What the side-chain and the detectors give for one sample.
struct Power {
    double P;     // linked side-chain power
    double fast;  // fast and slow averages of P
    double slow;
};

// The side-chain and the detectors: the part that carries state.
[[gnu::always_inline]] inline Power detect(EngineState& s, double L, double R) {
    const double sL = s.sideChainLeft.singleStep(L);
    const double sR = s.sideChainRight.singleStep(R);
    Power p;
    // Both channels feed one detector, so the stereo image never shifts.
    p.P = (sL * sL + sR * sR) * 0.7071;
    p.fast = s.fastDetector.singleStep(p.P);
    p.slow = s.slowDetector.singleStep(p.P);
    return p;
}

// The cell's cut-off in Hz as computed, before any clamp.
[[gnu::always_inline]] inline double cellFrequency(double fast, double slow, double timeFactor) {
    // Fast over slow power: 0.2 when steady, large on a rise, small after a drop.
    // Written out as std::max(x, 1e-6) is, so the compiler can vectorise it.
    const double floorFast = fast < 1e-6 ? 1e-6 : fast;
    const double floorSlow = slow < 1e-6 ? 1e-6 : slow;
    const double G = floorFast * 0.2 / floorSlow;
    return (4.0 * G / (G + 1.0) + 0.1) * 0.7 / timeFactor;
}

// The clamped cut-off as an angle per sample.
[[gnu::always_inline]] inline double cellAngle(double frequency, double rate) {
    const double high = 0.499 * rate;
    const double fc = frequency < 0.001 ? 0.001 : frequency > high ? high : frequency;
    return fc * kTwoPi / rate;
}

// The cell's coefficients for one sample.
struct CellCoefficients {
    double a0, a1, a2, b0, b1, b2;
};

// The cell's redesign from the sine and cosine of its angle. The cell runs so
// low that the full design's Q correction would change nothing, so it is
// redesigned with its own Q.
[[gnu::always_inline]] inline CellCoefficients cellCoefficients(double sine, double cosine,
                                                                double Q) {
    CellCoefficients c;
    const double alpha = sine / (2.0 * Q);
    const double oneMinusCos = 1.0 - cosine;
    c.a0 = 1.0 + alpha;
    c.a1 = -2.0 * cosine / c.a0;
    c.a2 = (1.0 - alpha) / c.a0;
    c.b0 = oneMinusCos * 0.5 / c.a0;
    c.b1 = oneMinusCos / c.a0;
    c.b2 = c.b0;  // the same expression as b0
    return c;
}

// Moves the cell toward the power with this sample's design; returns the
// cell's level (at least 0.001).
[[gnu::always_inline]] inline double cellStep(EngineState& s, double P, double frequency,
                                              const CellCoefficients& c) {
    FilterSection& cell = s.cellSection;
    cell.frequency = frequency;
    cell.a0 = c.a0;
    cell.a1 = c.a1;
    cell.a2 = c.a2;
    cell.b0 = c.b0;
    cell.b1 = c.b1;
    cell.b2 = c.b2;
    if (P > s.cellLevel) {
        // Attack: ten steps of the cell per sample.
        cell.fourStepRun(P);
        cell.fourStepRun(P);
        cell.singleStep(P);
        s.cellLevel = cell.singleStep(P);
    } else {
        s.cellLevel = cell.singleStep(P);
    }
    if (s.cellLevel < 0.001) s.cellLevel = 0.001;
    return s.cellLevel;
}

// The gain g (0 < g <= 1) for the cell's level.
inline double levelGain(double cellLevel, int ratioStep) {
    return gainCurve(ratioStep, std::sqrt(cellLevel));
}

}  // namespace opto
