// Parameters as a host sets, reads, names and displays them.
#include <gtest/gtest.h>

#include <cmath>

#include "TestHost.h"

using namespace vst2;

namespace {

struct Parameters : ::testing::Test {
    ScratchConfigHome config;
    TestHost host;
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }
    void set(int32 index, float value) { host.effect->setParameter(host.effect, index, value); }
    float get(int32 index) { return host.effect->getParameter(host.effect, index); }
    std::string display(int32 index) { return host.text(effGetParamDisplay, index); }
};

}  // namespace

TEST_F(Parameters, NamesAndLabels) {
    const char* names[12] = {"Process", " ", "Ratio", " ", "Time", "Compression", "Output",
                             " ", " ", " ", " ", " "};
    for (int32 i = 0; i < 12; ++i) {
        EXPECT_EQ(host.text(effGetParamName, i), names[i]) << i;
        EXPECT_EQ(host.text(effGetParamLabel, i), " ") << i;
    }
    for (int32 i : {-1, 12, 20, -100000}) {
        EXPECT_EQ(host.text(effGetParamName, i), " ");
        EXPECT_EQ(host.text(effGetParamLabel, i), " ");
        EXPECT_EQ(host.text(effGetParamDisplay, i), " ");
    }
}

TEST_F(Parameters, ProcessBoundaries) {
    set(0, 0.24f);
    EXPECT_EQ(display(0), "Off");
    EXPECT_EQ(get(0), 0.24f);
    set(0, 0.25f);
    EXPECT_EQ(display(0), "Clear");
    set(0, std::nextafter(0.75f, 0.0f));
    EXPECT_EQ(display(0), "Clear");
    set(0, 0.75f);
    EXPECT_EQ(display(0), "Valve");
    EXPECT_EQ(get(0), 0.75f);
}

TEST_F(Parameters, RatioBoundaries) {
    struct { float v; const char* text; } cases[] = {
        {std::nextafter(1.0f / 12.0f, 0.0f), "1.2:1"}, {1.0f / 12.0f, "1.5:1"},
        {std::nextafter(0.25f, 0.0f), "1.5:1"}, {0.25f, "2:1"}, {0.5f, "3:1"},
        {0.58333338f, "4:1"}, {0.58333331f, "3:1"}, {0.75f, "6:1"}, {0.91666667f, "10:1"}, {1.0f, "10:1"},
        {0.0f, "1.2:1"}};
    for (const auto& c : cases) {
        set(2, c.v);
        EXPECT_EQ(display(2), c.text) << c.v;
    }
}

TEST_F(Parameters, NumericDisplays) {
    struct { int32 index; float v; const char* text; } cases[] = {
        {4, 0.5f, "5.00"},   {4, 0.0f, "0.00"},  {4, 1.0f, "10.00"}, {4, 0.024f, "0.00"},
        {4, 0.025f, "0.50"}, {4, 0.2f, "2.00"},  {5, 0.5f, "5.00"},  {5, 0.375f, "3.75"},
        {5, 0.0125f, "0.25"}, {5, 1.0f, "10.00"}, {5, 0.775f, "7.75"}, {6, 1.5f, "30.00"},
        {6, -0.2f, "0.00"},  {6, 0.15f, "4.50"}, {6, 0.133f, "4.00"}, {6, 0.083f, "2.50"},
        {6, 1.0f / 120.0f, "0.50"}};
    for (const auto& c : cases) {
        set(c.index, c.v);
        EXPECT_EQ(display(c.index), c.text) << c.index << " at " << c.v;
    }
}

TEST_F(Parameters, ClampingAndOutOfRange) {
    set(6, 1.5f);
    EXPECT_EQ(get(6), 1.0f);
    set(6, -0.2f);
    EXPECT_EQ(get(6), 0.0f);
    set(6, INFINITY);
    EXPECT_EQ(get(6), 1.0f);
    set(6, -INFINITY);
    EXPECT_EQ(get(6), 0.0f);
    set(4, NAN);
    EXPECT_EQ(get(4), 0.0f) << "NaN is stored as 0";
    EXPECT_EQ(display(4), "0.00");

    set(1, 0.7f);
    EXPECT_EQ(get(1), 0.7f);
    EXPECT_EQ(display(1), " ");
    for (int32 i : {12, 20, -1, -2147483647 - 1}) {
        set(i, 0.5f);
        EXPECT_EQ(get(i), 0.0f) << i;
    }
}
