// The opto cell and the gain curves against the numbers they are tuned to.
#include <gtest/gtest.h>

#include <cmath>

#include "core/engine/gainCurves.h"
#include "engineHarness.h"

using namespace harness;

TEST(GainCurves, TableOfTellingValues) {
    const double expected[3][7] = {
        {0.8286, 0.7714, 0.7622, 0.7471, 0.7381, 0.7504, 0.7640},
        {0.5200, 0.3600, 0.2682, 0.2004, 0.1503, 0.1280, 0.1090},
        {0.4146, 0.2195, 0.1151, 0.0673, 0.0426, 0.0293, 0.0199}};
    const double xs[3] = {1.0, 10.0, 100.0};
    for (int row = 0; row < 3; ++row)
        for (int pos = 0; pos < 7; ++pos)
            EXPECT_NEAR(gainCurve(pos, xs[row]), expected[row][pos], 0.00005)
                << "position " << pos << " at x = " << xs[row];
    EXPECT_EQ(gainCurve(7, 10.0), 1.0);
    EXPECT_EQ(gainCurve(-1, 10.0), 1.0);
}

TEST(GainCurves, QuietLevelsPassAlmostUnchanged) {
    for (int pos = 0; pos < 7; ++pos) {
        EXPECT_GE(gainCurve(pos, 0.1), 0.969) << pos;  // within 0.27 dB
        EXPECT_LE(gainCurve(pos, 0.0316), 1.0) << pos;
    }
}

TEST(ValveCurve, BoundedByItsAsymptotes) {
    for (int pos : {0, 4, 6}) {
        const ValveConstants v = valveConstants(pos);
        const double top = v.l * 3.141592653589793 / 2.0, bottom = -v.l / 0.64;
        for (double y : {1e-3, 1.0, 10.0, 1e3, 1e6, 1e12}) {
            EXPECT_LT(valveCurve(y, v), top) << pos;
            EXPECT_GE(valveCurve(-y, v), bottom) << pos;  // tanh reaches 1.0 in double
        }
        // Slope 1 at zero on both sides.
        EXPECT_NEAR(valveCurve(1e-6, v) / 1e-6, 1.0, 1e-6);
        EXPECT_NEAR(valveCurve(-1e-6, v) / -1e-6, 1.0, 1e-6);
    }
    EXPECT_NEAR(4.0 * 3.141592653589793 / 2.0, 6.283, 1e-3);
    const ValveConstants six = valveConstants(6);
    EXPECT_NEAR(six.l * 3.141592653589793 / 2.0, 4.398, 1e-3);
    EXPECT_NEAR(-six.l / 0.64, -4.375, 1e-12);
    EXPECT_EQ(valveConstants(1).h, 0.06313513950340426);
    EXPECT_EQ(valveConstants(9).l, 1.0);
}

TEST(OptoModel, SilenceSettlesTheCellAtItsFloor) {
    const double expected[7] = {0.9925, 0.9900, -1, -1, -1, -1, 0.9997};
    for (int pos = 0; pos < 7; ++pos) {
        Settings s;
        s.ratio = pos / 6.0f;
        auto e = makeEffect(s);
        Buffers<double> b(441);
        for (int block = 0; block < 300; ++block)
            e->processDoubleReplacing(b.inputs(), b.outputs(), 441);
        EXPECT_EQ(e->core().engineState().cellLevel, 0.001) << pos;
        const double g = gainCurve(pos, std::sqrt(0.001));
        EXPECT_GT(g, 0.99) << pos;
        EXPECT_NEAR(e->getMeterReading(), g, 1e-8) << "the meter settles on g";
        if (expected[pos] > 0) {
            EXPECT_NEAR(g, expected[pos], 0.00005) << pos;
        }
    }
}

namespace {

struct Settled {
    double x, g;
};

// Three seconds of a full-scale 1 kHz tone at Compression 0.5 and ratio step 4,
// then the averages of the cell level and the meter over the fourth second.
Settled fullScaleTone(bool constantPower) {
    Settings s;
    s.ratio = 4.0f / 6.0f;
    auto e = makeEffect(s);
    const int n = 441;
    Buffers<double> b(n);
    long t = 0;
    double sx = 0, sg = 0;
    int count = 0;
    for (int block = 0; block < 400; ++block) {
        for (int i = 0; i < n; ++i, ++t) {
            b.inL[i] = sine(t, 1000.0, 44100.0);
            b.inR[i] = constantPower ? std::cos(6.283185307179586 * 1000.0 * t / 44100.0) : b.inL[i];
        }
        e->processDoubleReplacing(b.inputs(), b.outputs(), n);
        if (block >= 300) {
            sx += std::sqrt(e->core().engineState().cellLevel);
            sg += e->getMeterReading();
            ++count;
        }
    }
    return {sx / count, sg / count};
}

}  // namespace

TEST(OptoModel, FullScaleToneSettlesWhereTheDetectorPutsIt) {
    const Settled pair = fullScaleTone(true);
    EXPECT_NEAR(pair.x, 7.94, 0.02);
    EXPECT_NEAR(pair.g, 0.178, 0.002);
    // The same sine on both channels: the ten-step attack holds the cell near the peaks.
    const Settled same = fullScaleTone(false);
    EXPECT_NEAR(same.x, 10.1, 0.05);
    EXPECT_NEAR(same.g, 0.149, 0.002);
}

TEST(OptoModel, TimeSetsTheCellCutOff) {
    for (float time : {0.0f, 1.0f}) {
        Settings s;
        s.time = time;
        auto e = makeEffect(s);
        Buffers<double> b(441);
        long t = 0;
        for (int block = 0; block < 200; ++block) {
            for (int i = 0; i < 441; ++i, ++t) b.inL[i] = b.inR[i] = sine(t, 200.0, 44100.0, 0.1);
            e->processDoubleReplacing(b.inputs(), b.outputs(), 441);
        }
        // Steady material: G near 0.2, so fc = 0.7 * (0.8 / 1.2 + 0.1) / timeFactor.
        const double steady = 0.7 * (4.0 * 0.2 / 1.2 + 0.1) / e->core().parameters().engineValues().timeFactor;
        EXPECT_NEAR(e->core().engineState().cellSection.frequency, steady, steady * 0.1) << time;
    }
}

TEST(OptoModel, IdenticalChannelsGiveTheSameGainAsMono) {
    auto stereo = makeEffect();
    auto mono = makeEffect();
    pinAnswer() = 0;
    vst2::VstSpeakerArrangement in{}, out{};
    in.numChannels = 1;
    out.numChannels = 2;
    mono->setSpeakerArrangement(&in, &out);
    Buffers<double> a(512), b(512);
    long t = 0;
    for (int block = 0; block < 50; ++block) {
        for (int i = 0; i < 512; ++i, ++t) {
            a.inL[i] = a.inR[i] = sine(t, 300.0, 44100.0, 0.5 * (block % 5 == 0));
            b.inL[i] = a.inL[i];
            b.inR[i] = 12345.0;  // never read in 1-in-2-out
        }
        stereo->processDoubleReplacing(a.inputs(), a.outputs(), 512);
        mono->processDoubleReplacing(b.inputs(), b.outputs(), 512);
        EXPECT_EQ(stereo->getMeterReading(), mono->getMeterReading());
    }
    EXPECT_EQ(a.outL, b.outL);
    EXPECT_EQ(a.outR, b.outR);
}
