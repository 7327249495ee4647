// The two-decimal form used by the Time, Compression and Output displays.
#include <gtest/gtest.h>

#include <cmath>

#include "core/parameterTexts.h"

TEST(FormatFixed2, DisplayValues) {
    EXPECT_EQ(formatFixed2(0.0f), "0.00");
    EXPECT_EQ(formatFixed2(2.5f), "2.50");
    EXPECT_EQ(formatFixed2(10.0f), "10.00");
    EXPECT_EQ(formatFixed2(30.0f), "30.00");
    EXPECT_EQ(formatFixed2(0.25f), "0.25");
    EXPECT_EQ(formatFixed2(7.75f), "7.75");
    EXPECT_EQ(formatFixed2(9.5f), "9.50");
    // Every multiple of 0.25 the displays can pass.
    for (int q = 0; q <= 120; ++q) {
        float x = q * 0.25f;
        int hundredths = q * 25;
        char expected[32];
        std::snprintf(expected, sizeof(expected), "%d.%02d", hundredths / 100, hundredths % 100);
        EXPECT_EQ(formatFixed2(x), expected) << x;
    }
}

TEST(FormatFixed2, RoundsHalfAwayFromZeroWithoutTheCLibrary) {
    EXPECT_EQ(formatFixed2(0.125f), "0.13");  // a C library may round this tie to even
    EXPECT_EQ(formatFixed2(-0.125f), "-0.13");
    EXPECT_EQ(formatFixed2(1.005f), "1.01");  // within the 0.49999 tolerance of the tie
    EXPECT_EQ(formatFixed2(-2.5f), "-2.50");
    EXPECT_EQ(formatFixed2(123.456f), "123.46");
}

TEST(FormatFixed2, EightCharacterLimitAndHugeValues) {
    EXPECT_EQ(formatFixed2(1234567.0f), "1234567.");  // the point fills the eighth place
    EXPECT_EQ(formatFixed2(123456.0f), "123456.0");
    EXPECT_EQ(formatFixed2(100000000.0f), "");
    EXPECT_EQ(formatFixed2(-10000000.0f), "");
    EXPECT_EQ(formatFixed2(INFINITY), "");
    EXPECT_EQ(formatFixed2(NAN), "");
}
