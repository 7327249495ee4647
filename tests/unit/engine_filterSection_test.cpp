// The filter record on its own: design, steps, clamping.
#include <gtest/gtest.h>

#include <cmath>

#include "core/engine/FilterSection.h"

TEST(FilterSection, TypeZeroPassesInputAndKeepsNoState) {
    FilterSection s(0, 1000.0, 0.7);
    s.design();
    for (double u : {0.0, 1.0, -3.5, 1e-30, 12345.0}) {
        EXPECT_EQ(s.singleStep(u), u);
        EXPECT_EQ(s.fourStepRun(u), u);
    }
    EXPECT_EQ(s.x0, 0.0);
    EXPECT_EQ(s.y1, 0.0);
    EXPECT_EQ(s.offset, 1e-14) << "the offset is not flipped either";
    EXPECT_EQ(s.a1, 1.0);
}

TEST(FilterSection, FrequencyAboveTheLimitIsClampedAndStored) {
    FilterSection s(8, 30000.0, 0.5);
    s.design();
    EXPECT_EQ(s.frequency, 0.499 * 44100.0);
    FilterSection h(1, 22049.0, 0.3);
    h.design();
    EXPECT_EQ(h.frequency, 0.499 * 44100.0);
    EXPECT_TRUE(std::isfinite(h.b0) && std::isfinite(h.a1));
}

TEST(FilterSection, LowPassDesignSetsItsOffsetAndUnityGain) {
    FilterSection s(8, 5.0, 0.5);
    s.offset = -3.0;
    s.design();
    EXPECT_EQ(s.offset, 1e-12);
    // DC gain of a low-pass: (b0 + b1 + b2) / (1 + a1 + a2) = 1.
    EXPECT_NEAR((s.b0 + s.b1 + s.b2) / (1.0 + s.a1 + s.a2), 1.0, 1e-9);
    double y = 0;
    for (int i = 0; i < 44100; ++i) y = s.singleStep(1.0);
    EXPECT_NEAR(y, 1.0, 1e-9);
}

TEST(FilterSection, HighPassSideChainQAt44100) {
    FilterSection s(1, 40.0, 0.3);
    s.offset = 1e-14;
    s.design();
    EXPECT_EQ(s.offset, 1e-14) << "the high-pass design leaves the offset alone";
    const double w = 40.0 * 6.283185307179586 / 44100.0;
    const double alpha = (1.0 - s.a2) / (1.0 + s.a2);
    const double q = std::sin(w) / (2.0 * alpha);
    EXPECT_NEAR(q, 0.3 * (1.0 - std::pow(40.0 / 22054.41, 6.0)), 1e-14);
    EXPECT_NEAR(q, 0.3, 1e-14);
    EXPECT_NEAR(s.b0 + s.b1 + s.b2, 0.0, 1e-15) << "no DC through a high-pass";
}

TEST(FilterSection, FourStepRunEqualsFourStepsButFlipsTheOffsetOnce) {
    FilterSection a(8, 200.0, 0.1), b(8, 200.0, 0.1);
    a.design();
    b.design();
    for (int i = 0; i < 10; ++i) {
        a.singleStep(0.3 * i);
        b.singleStep(0.3 * i);
    }
    // With the offset zeroed, the run is exactly four single steps.
    a.offset = b.offset = 0.0;
    double ra = a.fourStepRun(0.7), rb = 0;
    for (int i = 0; i < 4; ++i) rb = b.singleStep(0.7);
    EXPECT_EQ(ra, rb);
    FilterSection c(8, 200.0, 0.1);
    c.design();
    const double before = c.offset;
    c.fourStepRun(1.0);
    EXPECT_EQ(c.offset, -before);
}
