// Sample rate set-up, resume and suspend.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engineHarness.h"

using namespace harness;

namespace {
void expectProcessingRate(AutoComp& e, double rate) {
    const EngineState& s = e.core().engineState();
    for (const FilterSection* f : {&s.cellSection, &s.fastDetector, &s.slowDetector,
                                   &s.sideChainLeft, &s.sideChainRight})
        EXPECT_EQ(f->rate, rate);
}
}  // namespace

TEST(RateSetup, ResumeDesignsForTheHostRate) {
    auto e = makeEffect(Settings(), 96000.0f);
    expectProcessingRate(*e, 96000.0);
    const EngineState& s = e->core().engineState();
    EXPECT_EQ(s.meterSection.rate, 96000.0);
    EXPECT_EQ(s.meterSection.frequency, 2.3333333333333335);
    EXPECT_EQ(s.slowDetector.frequency, 2.0);
    EXPECT_EQ(s.fastDetector.frequency, 5.0);
    EXPECT_EQ(s.engineOffset, 1e-17);
    EXPECT_EQ(s.sideChainLeft.y1, 0.0);
}

TEST(RateSetup, RatesOutsideTheRangeUse44100ForProcessing) {
    for (float rate : {8000.0f, 19999.0f, 200001.0f}) {
        auto e = makeEffect(Settings(), rate);
        expectProcessingRate(*e, 44100.0);
        EXPECT_EQ(e->core().engineState().meterSection.rate, static_cast<double>(rate))
            << "the meter keeps the host's rate";
    }
}

TEST(RateSetup, RatesThatAreNoRateFallBackEverywhere) {
    for (float rate : {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY, 0.0f, -48000.0f}) {
        auto e = makeEffect(Settings(), rate);
        expectProcessingRate(*e, 44100.0);
        EXPECT_EQ(e->core().engineState().meterSection.rate, 44100.0);
        Buffers<double> b(256);
        long t = 0;
        for (int i = 0; i < 256; ++i, ++t) b.inL[i] = b.inR[i] = sine(t, 1000.0, 44100.0);
        e->processDoubleReplacing(b.inputs(), b.outputs(), 256);
        for (double y : b.outL) ASSERT_TRUE(std::isfinite(y));
        EXPECT_TRUE(std::isfinite(e->getMeterReading()));
    }
}

TEST(RateSetup, MeterRestsAtNoReductionAfterResumeAndSuspend) {
    Settings heavy;
    heavy.compression = 1.0f;
    auto e = makeEffect(heavy);
    Buffers<double> b(512);
    long t = 0;
    for (int block = 0; block < 50; ++block) {
        for (int i = 0; i < 512; ++i, ++t) b.inL[i] = b.inR[i] = sine(t, 100.0, 44100.0);
        e->processDoubleReplacing(b.inputs(), b.outputs(), 512);
    }
    ASSERT_LT(e->getMeterReading(), 0.3);
    e->suspend();
    EXPECT_EQ(e->getMeterReading(), 1.0);
    EXPECT_EQ(e->core().engineState().cellLevel, 0.0001);
    e->resume();
    e->setParameter(0, 0.0f);
    b.inL.assign(512, 0.0);
    b.inR.assign(512, 0.0);
    e->processDoubleReplacing(b.inputs(), b.outputs(), 512);
    EXPECT_NEAR(e->getMeterReading(), 1.0, 1e-9) << "the needle does not slam after resume";
    e->setParameter(0, 0.5f);
    e->processDoubleReplacing(b.inputs(), b.outputs(), 512);
    EXPECT_GT(e->getMeterReading(), 0.98);
}

TEST(RateSetup, SuspendResumeCyclesLeaveTheSameEngine) {
    auto once = makeEffect();
    auto cycled = makeEffect();
    for (int i = 0; i < 5; ++i) {
        cycled->suspend();
        cycled->resume();
    }
    const EngineState& a = once->core().engineState();
    const EngineState& b = cycled->core().engineState();
    for (auto pair : {std::make_pair(&a.fastDetector, &b.fastDetector),
                      std::make_pair(&a.slowDetector, &b.slowDetector),
                      std::make_pair(&a.meterSection, &b.meterSection)}) {
        EXPECT_EQ(pair.first->b0, pair.second->b0);
        EXPECT_EQ(pair.first->a1, pair.second->a1);
        EXPECT_EQ(pair.first->y1, pair.second->y1);
        EXPECT_EQ(std::fabs(pair.first->offset), std::fabs(pair.second->offset));
    }
    EXPECT_EQ(a.sideChainLeft.b0, b.sideChainLeft.b0);
    EXPECT_EQ(a.engineOffset, b.engineOffset);
    EXPECT_EQ(once->getMeterReading(), cycled->getMeterReading());
}

TEST(RateSetup, SetSampleRateOnlyStoresTheRate) {
    auto e = makeEffect();
    e->setSampleRate(48000.0f);
    EXPECT_EQ(e->getSampleRate(), 48000.0f);
    EXPECT_EQ(e->getAeffect()->initialDelay, 0);
    expectProcessingRate(*e, 44100.0);
    e->resume();
    expectProcessingRate(*e, 48000.0);
}

TEST(Smoothers, StartAtProgramZerosTargets) {
    AutoComp fresh(host);
    EXPECT_EQ(fresh.core().engineState().smoothedDrive, fresh.core().parameters().engineValues().compressionGain);
    EXPECT_NEAR(fresh.core().engineState().smoothedDrive, 9.5137, 1e-4);
    EXPECT_EQ(fresh.core().engineState().smoothedOutputGain, 1.0);
    EXPECT_EQ(fresh.core().engineState().inverseDrive, 1.0 / fresh.core().parameters().engineValues().compressionGain);
}

TEST(Smoothers, DriveGlidesAndClearStaysCompensated) {
    Settings s;
    s.compression = 0.0f;
    auto e = makeEffect(s);
    // The smoothers start at program 0's targets (Compression 5); two thirds
    // of a second of silence bring the drive down to this test's 0.125.
    Buffers<double> b(100);
    for (int block = 0; block < 300; ++block) e->processDoubleReplacing(b.inputs(), b.outputs(), 100);
    EXPECT_NEAR(e->core().engineState().smoothedDrive, 0.125, 1e-6);
    e->setParameter(5, 1.0f);
    long t = 0;
    double lastDrive = e->core().engineState().smoothedDrive;
    for (int block = 0; block < 100; ++block) {
        for (int i = 0; i < 100; ++i, ++t) b.inL[i] = b.inR[i] = sine(t, 440.0, 44100.0, 0.001);
        e->processDoubleReplacing(b.inputs(), b.outputs(), 100);
        EXPECT_GT(e->core().engineState().smoothedDrive, lastDrive);
        lastDrive = e->core().engineState().smoothedDrive;
        if (block == 9) {
            // One time constant (1000 samples) covers 63 % of the way.
            EXPECT_NEAR(lastDrive, 128.0 - (128.0 - 0.125) * std::exp(-1.0), 1.0);
        }
        // Compensated: only the small gain reduction of a quiet signal remains.
        for (int i = 0; i < 100; ++i) ASSERT_NEAR(b.outL[i], b.inL[i], 0.05 * std::fabs(b.inL[i]) + 1e-9);
    }
}
