// The valve at twice or four times the rate: half-band filters of two
// all-pass branches each (polyphase IIR), which add no latency, around the
// valve curve, and a DC blocker after it, since the curve's asymmetry leaves
// an offset the ear does not want. One channel per object; the audio thread's.
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "gainCurves.h"

namespace oversampling {

// A half-band filter as two chains of first-order all-pass sections, each
// chain running at the lower of its two rates.
template <int Coefficients>
class HalfBand {
public:
    // The coefficients of one design (see design()).
    explicit HalfBand(const std::array<double, Coefficients>& coefficients) : a(coefficients) {}

    void reset() {
        x1.fill(0.0);
        y1.fill(0.0);
    }
    // One sample in, the two samples of the doubled rate out, in order.
    void up(double x, double& first, double& second) {
        first = branch(0, x);
        second = branch(1, x);
    }
    // Two samples of the doubled rate in, in order, one sample out (the
    // phase that needs no sample held back).
    double down(double first, double second) { return 0.5 * (branch(0, second) + branch(1, first)); }

    // For the vector path, which runs the two branches of two channels side
    // by side: coefficient k's, and its section's last input and output.
    const double* coefficients() const { return a.data(); }
    double* lastInputs() { return x1.data(); }
    double* lastOutputs() { return y1.data(); }

private:
    // Coefficients alternate between the branches: 0, 2, 4 ... and 1, 3, 5 ...
    double branch(int which, double x) {
        for (int k = which; k < Coefficients; k += 2) {
            const double y = a[k] * (x - y1[k]) + x1[k];
            x1[k] = x;
            y1[k] = y;
            x = y;
        }
        return x;
    }

    std::array<double, Coefficients> a;
    std::array<double, Coefficients> x1{}, y1{};
};

// The all-pass coefficients of a half-band filter with `count` sections and
// a transition band of `transition` (as a fraction of the higher rate): an
// elliptic design, written from the theta-function series of its poles.
std::vector<double> design(int count, double transition);

// The two designs the valve uses: the outer stage (base rate and twice it)
// and the inner stage (twice and four times), whose transition band is wide.
inline constexpr int kOuterCoefficients = 12;
inline constexpr int kInnerCoefficients = 4;
const std::array<double, kOuterCoefficients>& outerDesign();
const std::array<double, kInnerCoefficients>& innerDesign();

// The valve curve as the mean of the curve over the straight line between
// one sample and the next (the difference of its antiderivative over the
// difference of the samples): the harmonics far above the rate, which
// oversampling alone would fold back, come out 20 to 30 dB weaker.
// Samples closer than this take the curve at their midpoint.
inline constexpr double kClosestStep = 1e-5;

struct AntiAliasedCurve {
    void reset() { lastX = lastIntegral = 0.0; }
    double operator()(double x, const ValveConstants& constants) {
        const double integral = valveIntegral(x, constants);
        const double step = x - lastX;
        // Two samples this close: the curve at their midpoint, as exact and
        // without the difference's rounding.
        const double y = std::fabs(step) > kClosestStep ? (integral - lastIntegral) / step
                                                : valveCurve(0.5 * (x + lastX), constants);
        lastX = x;
        lastIntegral = integral;
        return y;
    }

    // The last sample and the antiderivative there.
    double lastX = 0.0, lastIntegral = 0.0;
};


// The valve curve at twice or four times the rate for one channel, its
// output free of DC.
class Valve {
public:
    Valve();
    // Filters at rest; the DC blocker's corner at the base rate.
    void reset(double rate);
    // One base-rate sample through the valve at 2 (factor 1) or 4 (factor 2) times the rate.
    double process(double x, const ValveConstants& constants, int factor);

    // The parts process() is made of, for a caller that applies the curve
    // itself (the vector path, both channels at once): the 2 or 4 samples
    // at the higher rate, and the curved ones back at the base rate, DC
    // taken away. The curve's state is `curve`'s.
    void up(double x, int factor, double* samples);
    double down(const double* curved, int factor);
    // The last steps of down(): the treble the curve's mean took away put
    // back, then the DC blocker.
    double finish(double y, int factor) {
        // The mean of neighbouring samples at F times the rate weakens the
        // base rate's frequency w by cos(w / 2F): -1.6 dB at 18 kHz of 48 kHz
        // at 2x. A first-order shelf (gain g, zero q, pole p) undoes it to
        // within 0.07 dB up to 22 kHz at 2x and 0.02 dB at 4x, with unit gain at DC.
        static constexpr double kShelf[2][2] = {{-0.2092, -0.3443}, {-0.2511, -0.283}};  // q, p
        const double q = kShelf[factor == 1 ? 0 : 1][0], p = kShelf[factor == 1 ? 0 : 1][1];
        const double shelved = (1.0 - p) / (1.0 - q) * (y - q * shelfIn) + p * shelfOut;
        shelfIn = y;
        shelfOut = shelved;
        return blockDc(shelved);
    }
    double blockDc(double y) {
        const double out = y - lastIn + pole * lastOut;
        lastIn = y;
        lastOut = out;
        return out;
    }
    AntiAliasedCurve curve;
    HalfBand<kOuterCoefficients> outerUp, outerDown;
    HalfBand<kInnerCoefficients> innerUp, innerDown;

private:
    double pole = 0.99929;  // the DC blocker's (5 Hz at 44.1 kHz)
    double lastIn = 0.0, lastOut = 0.0;
    double shelfIn = 0.0, shelfOut = 0.0;
};

}  // namespace oversampling
