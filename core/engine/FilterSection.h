// The engine's one filter record: a second-order section with its own design
// routine, a built-in anti-denormal offset, a single step and a four-step run.
#pragma once

struct FilterSection {
    double rate = 44100.0;
    int type = 0;  // 0 off, 1 high-pass, 8 low-pass
    double frequency = 0.0;
    double Q = 0.5;
    double gain = 0.0;
    double offset = 1e-14;
    double a0 = 1.0, a1 = 1.0, a2 = 1.0, b0 = 1.0, b1 = 1.0, b2 = 1.0;
    double x0 = 0.0, x1 = 0.0, x2 = 0.0;
    double y0 = 0.0, y1 = 0.0, y2 = 0.0;

    FilterSection() = default;
    FilterSection(int type, double frequency, double Q) : type(type), frequency(frequency), Q(Q) {}

    // Computes the coefficients from rate, type, frequency and Q; a frequency
    // above 0.499 of the rate is clamped and stored clamped.
    void design();

    // Sets the current and past inputs and outputs to zero.
    void clear() { rest(0.0); }
    // Sets the current and past inputs and outputs to one level, as if the
    // section had run on that constant input for ever.
    void rest(double level) { x0 = x1 = x2 = y0 = y1 = y2 = level; }

    double singleStep(double u) {
        if (type == 0) return u;
        offset = -offset;
        x0 = u + offset;
        advance();
        return y0;
    }

    // Four steps with the same input; the offset changes sign only once.
    double fourStepRun(double u) {
        if (type == 0) return u;
        offset = -offset;
        x0 = u + offset;
        for (int i = 0; i < 4; ++i) advance();
        return y0;
    }

private:
    // One update with the current input x0; past outputs carry the offset.
    void advance() {
        y0 = b0 * x0 + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        y2 = y1;
        y1 = y0 + offset;
        x2 = x1;
        x1 = x0;
    }

public:
};
