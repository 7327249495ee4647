// The private meter request an offline host uses to read gain reduction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "TestHost.h"
#include "formats/vst2/meterRequest.h"

using namespace vst2;

namespace {

struct MeterRequest : ::testing::Test {
    ScratchConfigHome config;
    TestHost host;
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }

    intptr ask(double* reading, int32 index = kvbr::kMeterRequestIndex,
               intptr value = kvbr::kMeterRequestValue) {
        return host.dispatch(effVendorSpecific, index, value, reading, 0.0f);
    }

    // One second of a loud 100 Hz tone, stereo, in blocks of 256.
    void processLoudSecond(float rate) {
        host.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host.dispatch(effSetBlockSize, 0, 256);
        host.dispatch(effMainsChanged, 0, 1);
        std::vector<double> l(256), r(256);
        double* io[2] = {l.data(), r.data()};
        for (int block = 0; block * 256 < rate; ++block) {
            for (int i = 0; i < 256; ++i) {
                l[i] = r[i] = 0.9 * std::sin(2.0 * M_PI * 100.0 * (block * 256 + i) / rate);
            }
            host.effect->processDoubleReplacing(host.effect, io, io, 256);
        }
    }
};

}  // namespace

TEST_F(MeterRequest, RestsAtOneUntilAudioArrives) {
    double reading = -5.0;
    EXPECT_EQ(ask(&reading), 1);
    EXPECT_EQ(reading, 1.0);
}

TEST_F(MeterRequest, FollowsTheGainReductionAndRestsAfterSuspend) {
    host.effect->setParameter(host.effect, 0, 0.5f);  // Clear
    host.effect->setParameter(host.effect, 5, 1.0f);  // most compression
    processLoudSecond(48000.0f);
    double reading = 1.0;
    ASSERT_EQ(ask(&reading), 1);
    EXPECT_LT(reading, 0.5) << "a loud tone at full compression reduces by more than 6 dB";
    EXPECT_GT(reading, 0.0);

    host.dispatch(effMainsChanged, 0, 0);
    ASSERT_EQ(ask(&reading), 1);
    EXPECT_EQ(reading, 1.0);
}

TEST_F(MeterRequest, OtherPairsAndNullPointerAreRefused) {
    const double untouched = -7.25;
    double reading = untouched;
    EXPECT_EQ(ask(&reading, 0, kvbr::kMeterRequestValue), 0);
    EXPECT_EQ(ask(&reading, kvbr::kMeterRequestIndex, 0), 0);
    EXPECT_EQ(ask(&reading, kvbr::kMeterRequestValue, kvbr::kMeterRequestIndex), 0);
    EXPECT_EQ(reading, untouched);
    EXPECT_EQ(ask(nullptr), 0);
    // The request carries no text and never reaches the host callback.
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
}
