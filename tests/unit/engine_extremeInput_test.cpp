// Huge but finite samples, as an unstable plug-in upstream produces on its way
// to infinity. Squared in the side-chain, 1e155 overflowed to infinity, the
// filters then held NaN and every later output and meter reading stayed NaN.
// Now anything beyond 1e30 counts as silence, like NaN and infinity: the
// output stays finite and ordinary input is processed at once as if those
// samples had been silent. Below 1e30 nothing changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "engineHarness.h"

using namespace harness;

namespace {

template <typename Sample>
void music(Buffers<Sample>& b, long& t) {
    for (size_t i = 0; i < b.inL.size(); ++i, ++t) {
        const double env = (t / 2205) % 3 == 0 ? 1.0 : 0.1;
        b.inL[i] = static_cast<Sample>(0.8 * env * sine(t, 220.0, 44100.0));
        b.inR[i] = static_cast<Sample>(0.8 * env * sine(t, 330.0, 44100.0));
    }
}

template <typename Sample>
void process(AutoComp& e, Buffers<Sample>& b) {
    if constexpr (sizeof(Sample) == sizeof(float))
        e.processReplacing(b.inputs(), b.outputs(), static_cast<int32>(b.inL.size()));
    else
        e.processDoubleReplacing(b.inputs(), b.outputs(), static_cast<int32>(b.inL.size()));
}

std::vector<EnginePath> paths() {
    std::vector<EnginePath> p{EnginePath::baseline};
    if (vectorEngineSupported()) p.push_back(EnginePath::vector);
    return p;
}

// Two effects: one gets a block with the extreme samples, the other the same
// block with silence in their place. From then on they must agree exactly.
template <typename Sample>
void extremesAreSilence(const std::vector<Sample>& extremes) {
    for (EnginePath path : paths()) {
        for (float mode : {0.5f, 1.0f, 2.0f}) {
            for (float compression : {0.5f, 1.0f}) {
                Settings s;
                s.process = std::min(mode, 1.0f);
                s.compression = compression;
                s.ratio = 1.0f;
                auto a = makeEffect(s, 44100.0f, path), b = makeEffect(s, 44100.0f, path);
                // Mode 2: the valve oversampled four times.
                for (AutoComp* e : {a.get(), b.get()})
                    e->core().parameters().set(kOversamplingParameter, mode > 1.0f ? 1.0f : 0.0f);
                Buffers<Sample> x(300), y(300);
                long ta = 0, tb = 0;
                for (int block = 0; block < 20; ++block) {
                    music(x, ta);
                    music(y, tb);
                    if (block == 10) {
                        for (size_t k = 0; k < extremes.size(); ++k) {
                            x.inL[17 + 13 * k] = extremes[k];
                            x.inR[40 + 7 * k] = -extremes[k];
                            y.inL[17 + 13 * k] = 0;
                            y.inR[40 + 7 * k] = 0;
                        }
                    }
                    process(*a, x);
                    process(*b, y);
                    for (size_t i = 0; i < 300; ++i) {
                        ASSERT_TRUE(std::isfinite(x.outL[i]) && std::isfinite(x.outR[i]))
                            << enginePathName(path) << " block " << block << " sample " << i;
                    }
                    ASSERT_TRUE(std::isfinite(a->getMeterReading()));
                    ASSERT_EQ(x.outL, y.outL) << enginePathName(path) << " block " << block;
                    ASSERT_EQ(x.outR, y.outR) << enginePathName(path) << " block " << block;
                    ASSERT_EQ(a->getMeterReading(), b->getMeterReading());
                }
                EXPECT_LT(a->getMeterReading(), 0.9) << "the music is still compressed";
            }
        }
    }
}

}  // namespace

TEST(ExtremeInput, HugeFiniteDoublesCountAsSilence) {
    extremesAreSilence<double>(
        {1e155, 1e154, -1e200, DBL_MAX, 1e31, 1.0000001e30, 1e300, -DBL_MAX});
}

TEST(ExtremeInput, HugeFiniteFloatsCountAsSilence) {
    extremesAreSilence<float>({FLT_MAX, -FLT_MAX, 1e31f, 3e38f, 1.1e30f});
}

// A long stretch of extreme samples, then music: the first ordinary block
// already sounds as it would after silence.
TEST(ExtremeInput, OrdinaryOutputAtOnceAfterAnExtremeStretch) {
    for (EnginePath path : paths()) {
        Settings s;
        s.process = 1.0f;
        s.compression = 0.5f;
        auto a = makeEffect(s, 44100.0f, path), b = makeEffect(s, 44100.0f, path);
        Buffers<double> x(512), y(512);
        long t = 0;
        for (int block = 0; block < 40; ++block) {
            for (size_t i = 0; i < 512; ++i) {
                x.inL[i] = x.inR[i] = 1e160 * (i % 2 ? 1.0 : -1.0);
                y.inL[i] = y.inR[i] = 0.0;
            }
            process(*a, x);
            process(*b, y);
            for (double v : x.outL) ASSERT_TRUE(std::isfinite(v));
        }
        long ta = t, tb = t;
        music(x, ta);
        music(y, tb);
        process(*a, x);
        process(*b, y);
        EXPECT_EQ(x.outL, y.outL) << enginePathName(path);
        double power = 0.0;
        for (double v : x.outL) power += v * v;
        EXPECT_GT(std::sqrt(power / 512), 0.01) << "the music comes through";
    }
}

// Anything up to 1e30 is processed as it always was: a burst at 1e29 is
// compressed (in Clear, which does not saturate), not silenced, and
// everything stays finite.
TEST(ExtremeInput, LoudButBelowTheLimitIsStillProcessed) {
    for (EnginePath path : paths()) {
        for (float compression : {0.5f, 1.0f}) {
            Settings s;
            s.process = 0.5f;
            s.compression = compression;
            auto a = makeEffect(s, 44100.0f, path);
            Buffers<double> x(256);
            long t = 0;
            for (int block = 0; block < 30; ++block) {
                music(x, t);
                if (block == 5)
                    for (size_t i = 0; i < 256; ++i)
                        x.inL[i] = x.inR[i] = 1e29 * sine(static_cast<long>(i), 1000.0, 44100.0);
                process(*a, x);
                for (size_t i = 0; i < 256; ++i)
                    ASSERT_TRUE(std::isfinite(x.outL[i]) && std::isfinite(x.outR[i]));
                ASSERT_TRUE(std::isfinite(a->getMeterReading()));
                if (block == 5) {
                    EXPECT_GT(std::fabs(x.outL[12]), 1e20) << "processed, not silenced";
                    EXPECT_LT(std::fabs(x.outL[200] / x.inL[200]), 0.5) << "and compressed";
                }
            }
        }
    }
}
