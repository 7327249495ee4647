#include "clicks.h"

#include <algorithm>
#include <cmath>

#include "core/controls.h"

namespace measure {

namespace {

// A high-pass biquad (the cookbook's) at `frequency` with quality `q`.
struct HighPass {
    double b0, b1, b2, a1, a2, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    HighPass(double frequency, double q, double rate) {
        const double w = 2.0 * M_PI * frequency / rate, alpha = std::sin(w) / (2.0 * q), a0 = 1.0 + alpha;
        b0 = (1.0 + std::cos(w)) / 2.0 / a0;
        b1 = -(1.0 + std::cos(w)) / a0;
        b2 = b0;
        a1 = -2.0 * std::cos(w) / a0;
        a2 = (1.0 - alpha) / a0;
    }
    double operator()(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

}  // namespace

ClickResult measureClick(const Subject& subject, const ClickCase& c) {
    const double rate = kClickRate;
    // A second to settle, then the change on a positive peak of the sine.
    const long changeAt = static_cast<long>(rate) + static_cast<long>(rate / 400.0);
    const long after = static_cast<long>(rate / 10.0), before = static_cast<long>(rate / 20.0);
    RenderRun run;
    run.rate = rate;
    run.settings = c.from;
    run.change = c.to;
    run.changeAt = changeAt;
    double meter = 1.0;
    const std::vector<double> out = render(subject, run, sine(100.0, -12.0, rate, changeAt + after), &meter);
    // Two sections of a fourth-order Butterworth high-pass at 2 kHz.
    HighPass first(2000.0, 0.5411961, rate), second(2000.0, 1.3065630, rate);
    ClickResult result;
    result.reduction = controls::gainReductionDb(meter);
    double peak = 0.0;
    for (long i = 0; i < static_cast<long>(out.size()); ++i) {
        const double y = second(first(out[i]));
        if (i >= changeAt - before) result.highPassed.push_back(y);
        if (i >= changeAt) peak = std::max(peak, std::fabs(y));
    }
    result.peak = decibels(peak);
    return result;
}

}  // namespace measure
