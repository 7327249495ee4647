#include "oversampling.h"

#include <cmath>

namespace oversampling {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The two theta-function series of the design, summed until their terms vanish.
double numeratorSeries(double q, int order, int c) {
    double sum = 0.0, term = 0.0;
    int i = 0;
    do {
        term = std::pow(q, i * (i + 1)) * std::sin((2 * i + 1) * c * kPi / order);
        sum += i % 2 ? -term : term;
        ++i;
    } while (std::fabs(term) > 1e-100 && i < 200);
    return sum;
}

double denominatorSeries(double q, int order, int c) {
    double sum = 0.0, term = 0.0;
    int i = 1;
    do {
        term = std::pow(q, i * i) * std::cos(2 * i * c * kPi / order);
        sum += i % 2 ? -term : term;
        ++i;
    } while (std::fabs(term) > 1e-100 && i < 200);
    return sum;
}

template <int Count>
std::array<double, Count> designed(double transition) {
    const std::vector<double> coefficients = design(Count, transition);
    std::array<double, Count> out{};
    for (int k = 0; k < Count; ++k) out[k] = coefficients[k];
    return out;
}

}  // namespace

std::vector<double> design(int count, double transition) {
    // The selectivity of the pass band's edge, then the nome of its elliptic modulus.
    double k = std::tan((1.0 - 2.0 * transition) * kPi / 4.0);
    k *= k;
    const double root = std::pow(1.0 - k * k, 0.25);
    const double e = 0.5 * (1.0 - root) / (1.0 + root);
    const double e4 = e * e * e * e;
    const double q = e * (1.0 + e4 * (2.0 + e4 * (15.0 + 150.0 * e4)));
    const int order = 2 * count + 1;
    std::vector<double> coefficients(static_cast<std::size_t>(count));
    for (int c = 1; c <= count; ++c) {
        const double w = std::pow(q, 0.25) * numeratorSeries(q, order, c) /
                         (0.5 + denominatorSeries(q, order, c));
        const double w2 = w * w;
        const double x = std::sqrt((1.0 - w2 * k) * (1.0 - w2 / k)) / (1.0 + w2);
        coefficients[static_cast<std::size_t>(c - 1)] = (1.0 - x) / (1.0 + x);
    }
    return coefficients;
}

// The outer stage's transition band is narrow, 2.5 % of the doubled rate
// about the base rate's Nyquist frequency (20.9 to 23.2 kHz at 44.1 kHz,
// 22.8 to 25.2 kHz at 48 kHz): whatever the curve makes just above Nyquist
// would otherwise fold back to just below it, weakened by no more than the
// transition band's slope. Its stop band is 130 dB down.
const std::array<double, kOuterCoefficients>& outerDesign() {
    static const std::array<double, kOuterCoefficients> coefficients = designed<kOuterCoefficients>(0.025);
    return coefficients;
}

// The inner stage has only the band the outer one kept to pass (up to a
// quarter of its rate) and images from three quarters up to stop.
const std::array<double, kInnerCoefficients>& innerDesign() {
    static const std::array<double, kInnerCoefficients> coefficients =
        designed<kInnerCoefficients>(0.5 - 2.0 * 20000.0 / 176400.0);
    return coefficients;
}

Valve::Valve()
    : outerUp(outerDesign()),
      outerDown(outerDesign()),
      innerUp(innerDesign()),
      innerDown(innerDesign()) {}

void Valve::reset(double rate) {
    outerUp.reset();
    outerDown.reset();
    innerUp.reset();
    innerDown.reset();
    curve.reset();
    if (!std::isfinite(rate) || rate <= 0.0) rate = 44100.0;
    pole = 1.0 - 2.0 * kPi * 5.0 / rate;
    lastIn = lastOut = 0.0;
    shelfIn = shelfOut = 0.0;
}

void Valve::up(double x, int factor, double* samples) {
    double a, b;
    outerUp.up(x, a, b);
    if (factor == 1) {
        samples[0] = a;
        samples[1] = b;
        return;
    }
    // Each sample of twice the rate into two of four times it.
    innerUp.up(a, samples[0], samples[1]);
    innerUp.up(b, samples[2], samples[3]);
}

double Valve::down(const double* curved, int factor) {
    double y;
    if (factor == 1) {
        y = outerDown.down(curved[0], curved[1]);
    } else {
        // In order: the inner filter carries state from one pair to the next.
        const double first = innerDown.down(curved[0], curved[1]);
        y = outerDown.down(first, innerDown.down(curved[2], curved[3]));
    }
    // The curve's asymmetry leaves an offset: a first-order high-pass at 5 Hz.
    return finish(y, factor);
}

double Valve::process(double x, const ValveConstants& constants, int factor) {
    double samples[4];
    up(x, factor, samples);
    for (int k = 0; k < (factor == 1 ? 2 : 4); ++k) samples[k] = curve(samples[k], constants);
    return down(samples, factor);
}

}  // namespace oversampling
