// The opto cell's seven static gain curves and the valve's saturation, as
// plain functions of the level; each is evaluated directly per sample.
#pragma once

#include <cmath>

// Gain g for the ratio position and the cell's level x (x >= 0.0316).
inline double gainCurve(int ratioStep, double x) {
    switch (ratioStep) {
        case 0: return 0.6 / (x * 0.4 + 1.0) + 0.4;
        case 1: return 0.8 / (x * 0.4 + 1.0) + 0.2;
        case 2:
            return ((x * 0.9 / (x * 0.35 + 1.0) + x * 0.1) * 0.7 +
                    (std::atan(x * 1.2) * 0.92 / 1.2 + x * 0.08) * 0.3) /
                   x;
        case 3:
            return ((x * 0.95 / (x * 0.35 + 1.0) + x * 0.05) * 0.35 +
                    (std::atan(x * 1.2) * 0.95 / 1.2 + x * 0.05) * 0.65) /
                   x;
        case 4: return (std::atan(x * 1.2) * 0.97 / 1.2 + x * 0.03) / x;
        case 5:
            return ((std::atan(x * 1.2) * 0.982 / 1.2 + x * 0.018) * 0.5 +
                    (std::tanh(x) * 0.982 + x * 0.018) * 0.5) /
                   x;
        case 6: return (std::tanh(x) * 0.99 + x * 0.01) / x;
        default: return 1.0;
    }
}

// The valve's scale l per ratio position; the slope h is its reciprocal, kept
// with the table's own digits (row 1 is not exactly 1 / 15.83904).
struct ValveConstants {
    double l;
    double h;
};

inline ValveConstants valveConstants(int ratioStep) {
    static constexpr ValveConstants table[7] = {
        {22.4, 0.044642857142857144}, {15.83904, 0.06313513950340426}, {8.0, 0.125},
        {5.6568, 0.1767783906095319}, {4.0, 0.25},                      {2.82, 0.3546099290780142},
        {2.8, 0.35714285714285715}};
    if (ratioStep < 0 || ratioStep > 6) return {1.0, 1.0};
    return table[ratioStep];
}

// Asymmetric saturation: both halves have slope 1 at zero; the negative half
// bends less, which adds even harmonics.
inline double valveCurve(double y, const ValveConstants& v) {
    if (y >= 0.0) return v.l * std::atan(v.h * y);
    return v.l * std::tanh(-0.64 * v.h * y) / -0.64;
}

// The curve's antiderivative, zero at zero, for the oversampled valve's
// anti-aliasing: l (y atan(hy) - ln(1 + h^2 y^2) / 2h) above zero and
// l ln cosh(0.64 h y) / (0.64^2 h) below. ln cosh a is ln(1 + 2 sinh^2(a/2)),
// exact near zero where it is tiny, and a - ln 2 from 22 on, where the two
// agree to the last bit and the first would soon overflow.
inline double valveIntegral(double y, const ValveConstants& v) {
    if (y >= 0.0) {
        const double z = v.h * y;
        return v.l * (y * std::atan(z) - std::log1p(z * z) / (2.0 * v.h));
    }
    const double a = -0.64 * v.h * y;
    const double s = std::sinh(0.5 * a);
    const double logCosh = a < 22.0 ? std::log1p(2.0 * s * s) : a - 0.69314718055994531;
    return v.l * logCosh / (0.4096 * v.h);
}
