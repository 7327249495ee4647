// The opto cell: one gain factor per sample from the driven stereo signal.
// It comes in pieces (detectors, cell design, cell, gain curve) so the driver
// can run each over a run of samples; the arithmetic is unchanged.
#pragma once

#include <algorithm>
#include <cmath>

#include "EngineState.h"
#include "gainCurves.h"

namespace opto {

constexpr double kTwoPi = 6.283185307179586;

// What the detectors find for one sample.
struct Detection {
    double P;          // linked side-chain power
    double frequency;  // the cell's cut-off as computed, unclamped
    double w;          // the clamped cut-off as an angle per sample
};

// What the cell needs for one sample: the power and its redesigned coefficients.
struct CellDrive {
    double P;
    double frequency;
    double a0, a1, a2, b0, b1, b2;
};

// Side-chain and detectors: the power and the cell's cut-off for this sample.
[[gnu::always_inline]] inline Detection detect(EngineState& s, double L, double R,
                                               double timeFactor) {
    const double sL = s.sideChainLeft.singleStep(L);
    const double sR = s.sideChainRight.singleStep(R);
    Detection d;
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
    d.w = fc * kTwoPi / rate;
    return d;
}

// The cell's coefficients for the sample's cut-off. The cell runs so low that
// the full design's Q correction would change nothing, so it is redesigned
// with its own Q.
[[gnu::always_inline]] inline CellDrive cellDesign(const Detection& d, double Q) {
    CellDrive c;
    c.P = d.P;
    c.frequency = d.frequency;
    const double alpha = std::sin(d.w) / (2.0 * Q);
    const double cosine = std::cos(d.w);
    const double oneMinusCos = 1.0 - cosine;
    c.a0 = 1.0 + alpha;
    c.a1 = -2.0 * cosine / c.a0;
    c.a2 = (1.0 - alpha) / c.a0;
    c.b0 = oneMinusCos * 0.5 / c.a0;
    c.b1 = oneMinusCos / c.a0;
    c.b2 = c.b0;  // the same expression as b0
    return c;
}

// Moves the cell toward the power; returns the cell's level (at least 0.001).
[[gnu::always_inline]] inline double cellStep(EngineState& s, const CellDrive& d) {
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
    return s.cellLevel;
}

// The gain g (0 < g <= 1) for the cell's level.
inline double levelGain(double cellLevel, int ratioStep) {
    return gainCurve(ratioStep, std::sqrt(cellLevel));
}

// All three pieces for one sample, in order.
inline double gain(EngineState& s, double L, double R, int ratioStep, double timeFactor) {
    const CellDrive drive = cellDesign(detect(s, L, R, timeFactor), s.cellSection.Q);
    return levelGain(cellStep(s, drive), ratioStep);
}

}  // namespace opto
