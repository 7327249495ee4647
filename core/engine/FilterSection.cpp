#include "FilterSection.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

void FilterSection::design() {
    a0 = a1 = a2 = b0 = b1 = b2 = 1.0;
    if (frequency > 0.499 * rate) frequency = 0.499 * rate;
    if (type != 1 && type != 8) return;
    // (1 - k) lowers Q as the cut-off nears half the rate, keeping the section stable.
    double k;
    if (type == 1) {
        k = std::pow(frequency / (rate * 0.5001), 6.0);
    } else {
        k = std::pow(frequency / (rate * 0.50001), 8.0);
        offset = 1e-12;
    }
    const double q = (1.0 - k) * Q;
    const double w = frequency * kTwoPi / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    a0 = 1.0 + alpha;
    a1 = -2.0 * c / a0;
    a2 = (1.0 - alpha) / a0;
    if (type == 1) {
        b0 = (1.0 + c) * 0.5 / a0;
        b1 = -(1.0 + c) / a0;
        b2 = (1.0 + c) * 0.5 / a0;
    } else {
        b0 = (1.0 - c) * 0.5 / a0;
        b1 = (1.0 - c) / a0;
        b2 = (1.0 - c) * 0.5 / a0;
    }
}
