// The processing driver: bypass, layouts, the two sample widths, bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engineHarness.h"

using namespace harness;

namespace {

void layout(AutoComp& e, int ins, int outs) {
    vst2::VstSpeakerArrangement in{}, out{};
    in.numChannels = ins;
    out.numChannels = outs;
    e.setSpeakerArrangement(&in, &out);
}

template <typename Sample>
void fillMusic(Buffers<Sample>& b, long& t, double level = 0.8) {
    for (size_t i = 0; i < b.inL.size(); ++i, ++t) {
        const double env = (t / 2205) % 3 == 0 ? 1.0 : 0.1;  // bursts every 150 ms
        b.inL[i] = static_cast<Sample>(level * env * sine(t, 220.0, 44100.0));
        b.inR[i] = static_cast<Sample>(level * env * sine(t, 330.0, 44100.0));
    }
}

// Two effects fed the same music block by block, for tests that compare them.
struct SideBySide {
    std::unique_ptr<AutoComp> a = makeEffect(), b = makeEffect();
    Buffers<double> x{256}, y{256};
    long ta = 0, tb = 0;

    // Plays blocks of music through both; with `same`, their outputs must agree.
    void music(int blocks, bool same) {
        for (int block = 0; block < blocks; ++block) {
            fillMusic(x, ta);
            fillMusic(y, tb);
            a->processDoubleReplacing(x.inputs(), x.outputs(), 256);
            b->processDoubleReplacing(y.inputs(), y.outputs(), 256);
            if (same) {
                ASSERT_EQ(x.outL, y.outL) << block;
                ASSERT_EQ(x.outR, y.outR) << block;
            }
        }
    }
};

}  // namespace

TEST(Driver, OffCopiesExactlyWhileTheMeterReturnsToRest) {
    Settings heavy;
    heavy.compression = 1.0f;
    heavy.ratio = 1.0f;
    auto e = makeEffect(heavy);
    Buffers<double> d(512);
    Buffers<float> f(512);
    long t = 0;
    for (int block = 0; block < 40; ++block) {
        fillMusic(d, t, 1.0);
        e->processDoubleReplacing(d.inputs(), d.outputs(), 512);
    }
    ASSERT_LT(e->getMeterReading(), 0.5);

    // Off crossfades in over 15 ms (662 samples); then the engine stands still.
    e->setParameter(0, 0.0f);
    for (int block = 0; block < 2; ++block) {
        fillMusic(d, t, 1.0);
        e->processDoubleReplacing(d.inputs(), d.outputs(), 512);
    }
    const double compressed = e->getMeterReading();
    const EngineState frozen = e->core().engineState();
    double previous = compressed;
    for (int block = 0; block < 200; ++block) {
        fillMusic(d, t);
        d.inL[3] = std::numeric_limits<double>::quiet_NaN();  // even NaN passes untouched
        e->processDoubleReplacing(d.inputs(), d.outputs(), 512);
        for (int i = 0; i < 512; ++i) {
            if (i != 3) {
                EXPECT_EQ(d.outL[i], d.inL[i]);
            }
            EXPECT_EQ(d.outR[i], d.inR[i]);
        }
        EXPECT_TRUE(std::isnan(d.outL[3]));
        fillMusic(f, t);
        e->processReplacing(f.inputs(), f.outputs(), 512);
        EXPECT_EQ(f.outL, f.inL);
        EXPECT_EQ(f.outR, f.inR);
        if (block == 0) {
            EXPECT_LT(e->getMeterReading(), 0.9) << "not at once";
        }
        EXPECT_GE(e->getMeterReading(), previous - 1e-3);
        previous = e->getMeterReading();
    }
    EXPECT_NEAR(e->getMeterReading(), 1.0, 1e-3);
    // Nothing but the meter moved.
    const EngineState& now = e->core().engineState();
    EXPECT_EQ(now.cellLevel, frozen.cellLevel);
    EXPECT_EQ(now.smoothedDrive, frozen.smoothedDrive);
    EXPECT_EQ(now.engineOffset, frozen.engineOffset);
    EXPECT_EQ(now.noise.s1, frozen.noise.s1);
    EXPECT_EQ(now.cellSection.y1, frozen.cellSection.y1);
}

// A change of Process or Ratio crossfades for 15 ms; once it has ended the
// output is the new setting's own, sample for sample, as if it had always
// been, on either engine path.
TEST(Driver, ACrossfadeEndsOnTheStaticSettingExactly) {
    struct Change {
        float fromProcess, fromRatio, toProcess, toRatio;
    };
    std::vector<EnginePath> paths{EnginePath::baseline};
    if (vectorEngineSupported()) paths.push_back(EnginePath::vector);
    const Change changes[] = {{0.5f, 0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 1.0f, 1.0f}, {0.5f, 1.0f, 0.5f, 0.5f}};
    for (size_t k = 0; k < paths.size() * 3; ++k) {
        const EnginePath path = paths[k / 3];
        const Change& c = changes[k % 3];
        SCOPED_TRACE(enginePathName(path));
        SideBySide p;
        p.a->core().setEnginePath(path);
        p.b->core().setEnginePath(path);
        p.a->setParameter(0, c.toProcess);
        p.a->setParameter(2, c.toRatio);
        p.b->setParameter(0, c.fromProcess);
        p.b->setParameter(2, c.fromRatio);
        p.music(20, false);
        p.b->setParameter(0, c.toProcess);
        p.b->setParameter(2, c.toRatio);
        // 662 samples of crossfade (15 ms at 44.1 kHz): two blocks and 150
        // samples of the third, the last of them the new setting's alone.
        p.music(2, false);
        fillMusic(p.x, p.ta);
        fillMusic(p.y, p.tb);
        p.a->processDoubleReplacing(p.x.inputs(), p.x.outputs(), 256);
        p.b->processDoubleReplacing(p.y.inputs(), p.y.outputs(), 256);
        EXPECT_NE(p.x.outL[148], p.y.outL[148]) << "still crossfading";
        for (int i = 150; i < 256; ++i) ASSERT_EQ(p.x.outL[i], p.y.outL[i]) << i;
        p.music(20, true);
    }
}

// A render at Compression 10, 10:1, Time 0 compresses from its first
// milliseconds as hard as it settles to (the smoothers once glided in from
// the defaults: 14 dB 3 ms in instead of 28), whichever order the host set
// the controls and started the instance in.
TEST(Driver, ARenderStartsAtItsSettingsWhateverTheOrder) {
    const Settings hard{0.5f, 1.0f, 0.0f, 1.0f, 0.0f};
    auto before = std::make_unique<AutoComp>(host);
    before->setSampleRate(48000.0f);
    const float values[] = {hard.process, hard.ratio, hard.time, hard.compression, hard.output};
    const int indices[] = {0, 2, 4, 5, 6};
    for (int c = 0; c < 5; ++c) before->setParameter(indices[c], values[c]);
    before->resume();
    auto after = makeEffect(hard, 48000.0f);
    const int frames = 48000;
    Buffers<double> a(frames), b(frames);
    for (int i = 0; i < frames; ++i) a.inL[i] = a.inR[i] = b.inL[i] = b.inR[i] = sine(i, 1000.0, 48000.0, 0.5);
    before->processDoubleReplacing(a.inputs(), a.outputs(), frames);
    after->processDoubleReplacing(b.inputs(), b.outputs(), frames);
    EXPECT_EQ(a.outL, b.outL);
    EXPECT_EQ(a.outR, b.outR);
    auto reduction = [&](int from, int to) {
        double in = 0.0, out = 0.0;
        for (int i = from; i < to; ++i) {
            in = std::max(in, std::fabs(a.inL[i]));
            out = std::max(out, std::fabs(a.outL[i]));
        }
        return 20.0 * std::log10(in / out);
    };
    const double settled = reduction(frames - 4800, frames);
    EXPECT_GT(settled, 20.0);
    EXPECT_GT(reduction(96, 192), settled - 3.0) << "2 to 4 ms in";
}

TEST(Driver, FloatTwinIsTheDoubleTwinNarrowed) {
    for (float mode : {0.5f, 1.0f}) {
        for (int ratio : {0, 4, 6}) {
            Settings s;
            s.process = mode;
            s.ratio = ratio / 6.0f;
            s.compression = 0.8f;
            auto ed = makeEffect(s);
            auto ef = makeEffect(s);
            Buffers<double> d(300);
            Buffers<float> f(300);
            long t = 0;
            for (int block = 0; block < 30; ++block) {
                long tf = t;
                fillMusic(f, tf);
                for (int i = 0; i < 300; ++i) {
                    d.inL[i] = f.inL[i];
                    d.inR[i] = f.inR[i];
                }
                t = tf;
                ed->processDoubleReplacing(d.inputs(), d.outputs(), 300);
                ef->processReplacing(f.inputs(), f.outputs(), 300);
                for (int i = 0; i < 300; ++i) {
                    ASSERT_EQ(f.outL[i], static_cast<float>(d.outL[i]));
                    ASSERT_EQ(f.outR[i], static_cast<float>(d.outR[i]));
                }
            }
        }
    }
}

TEST(Driver, OneInTwoOutAndOneInOneOut) {
    auto stereo = makeEffect();
    auto oneTwo = makeEffect();
    auto oneOne = makeEffect();
    layout(*oneTwo, 1, 2);
    layout(*oneOne, 1, 1);
    Buffers<double> s(512), a(512), b(512);
    long t = 0;
    for (int block = 0; block < 30; ++block) {
        long t2 = t;
        fillMusic(s, t);
        for (int i = 0; i < 512; ++i) s.inR[i] = s.inL[i];
        fillMusic(a, t2);
        a.inR = a.inL;
        b.inL = a.inL;
        b.inR.assign(512, 99.0);
        stereo->processDoubleReplacing(s.inputs(), s.outputs(), 512);
        oneTwo->processDoubleReplacing(a.inputs(), a.outputs(), 512);
        // The host's second output buffer may hold anything: one output only.
        b.outR.assign(512, -7.0);
        oneOne->processDoubleReplacing(b.inputs(), b.outputs(), 512);
        for (int i = 0; i < 512; ++i) {
            EXPECT_NEAR(a.outL[i], a.outR[i], 1e-8) << "they differ only by the noise";
            EXPECT_EQ(b.outL[i], s.outR[i]) << "the single output carries the right result";
            EXPECT_EQ(b.outR[i], -7.0);
        }
    }
}

TEST(Driver, OffUsesTheSameChannelSelection) {
    auto e = makeEffect();
    layout(*e, 1, 1);
    e->setParameter(0, 0.0f);
    pinAnswer() = 0;  // the host claims output pin 1 is connected
    Buffers<float> b(64);
    long t = 0;
    fillMusic(b, t);
    b.outR.assign(64, -1.0f);
    e->processReplacing(b.inputs(), b.outputs(), 64);
    EXPECT_EQ(b.outR, std::vector<float>(64, -1.0f)) << "no write into a buffer it never gave";
    EXPECT_EQ(b.outL, b.inL);

    auto s = makeEffect();
    s->setParameter(0, 0.0f);
    pinAnswer() = 1;  // pin 1 not connected: the right input is the left one
    fillMusic(b, t);
    s->processReplacing(b.inputs(), b.outputs(), 64);
    EXPECT_EQ(b.outL, b.inL);
}

TEST(Driver, SilenceGivesTinyNonZeroNonDenormalOutput) {
    for (float mode : {0.5f, 1.0f}) {
        Settings s;
        s.process = mode;
        auto e = makeEffect(s);
        Buffers<double> b(1024);
        Buffers<float> f(1024);
        for (int block = 0; block < 200; ++block) {
            e->processDoubleReplacing(b.inputs(), b.outputs(), 1024);
            for (double y : b.outL) {
                ASSERT_NE(y, 0.0);
                ASSERT_FALSE(isDenormal(y));
                ASSERT_LT(std::fabs(y), 1e-9);
            }
        }
        e->processReplacing(f.inputs(), f.outputs(), 1024);
        for (float y : f.outR) {
            EXPECT_NE(y, 0.0f);
            EXPECT_NE(std::fpclassify(y), FP_SUBNORMAL);
        }
    }
}

TEST(Driver, NonFiniteInputIsProcessedAsSilence) {
    SideBySide p;  // a gets the bad block, b zeros in its place
    p.music(10, false);
    for (int i = 0; i < 256; ++i) {
        const double nasty[] = {std::numeric_limits<double>::quiet_NaN(), INFINITY, -INFINITY};
        p.x.inL[i] = nasty[i % 3];
        p.x.inR[i] = nasty[(i + 1) % 3];
    }
    p.y.inL.assign(256, 0.0);
    p.y.inR.assign(256, 0.0);
    p.a->processDoubleReplacing(p.x.inputs(), p.x.outputs(), 256);
    p.b->processDoubleReplacing(p.y.inputs(), p.y.outputs(), 256);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(std::isfinite(p.x.outL[i]) && std::isfinite(p.x.outR[i]));
    p.music(20, true);
}

TEST(Driver, InPlaceEqualsSeparateBuffers) {
    auto a = makeEffect();
    auto b = makeEffect();
    Buffers<float> sep(333);
    long t = 0;
    for (int block = 0; block < 10; ++block) {
        fillMusic(sep, t);
        std::vector<float> l = sep.inL, r = sep.inR;
        float* io[2] = {l.data(), r.data()};
        a->processReplacing(sep.inputs(), sep.outputs(), 333);
        b->processReplacing(io, io, 333);
        ASSERT_EQ(l, sep.outL);
        ASSERT_EQ(r, sep.outR);
    }
}

// The audio path works in runs of samples; where the host cuts its blocks must
// never show in the output or the meter.
TEST(Driver, OutputDoesNotDependOnBlockSize) {
    for (float mode : {0.5f, 1.0f}) {
        for (int ratio : {4, 5}) {
            Settings s;
            s.process = mode;
            s.ratio = ratio / 6.0f;
            s.compression = 0.9f;
            auto whole = makeEffect(s);
            auto pieces = makeEffect(s);
            Buffers<double> in(4000);
            long t = 0;
            fillMusic(in, t);
            std::vector<double> wholeL(4000), wholeR(4000), pieceL(4000), pieceR(4000);
            for (int start = 0; start < 4000; start += 1000) {
                double* ins[2] = {in.inL.data() + start, in.inR.data() + start};
                double* outs[2] = {wholeL.data() + start, wholeR.data() + start};
                whole->processDoubleReplacing(ins, outs, 1000);
            }
            const int sizes[] = {1, 31, 32, 33, 7, 64, 65, 2, 300};
            int start = 0;
            for (int k = 0; start < 4000; ++k) {
                const int n = std::min(sizes[k % 9], 4000 - start);
                double* ins[2] = {in.inL.data() + start, in.inR.data() + start};
                double* outs[2] = {pieceL.data() + start, pieceR.data() + start};
                pieces->processDoubleReplacing(ins, outs, n);
                start += n;
            }
            ASSERT_EQ(wholeL, pieceL) << mode << " " << ratio;
            ASSERT_EQ(wholeR, pieceR) << mode << " " << ratio;
            EXPECT_EQ(whole->getMeterReading(), pieces->getMeterReading());
            EXPECT_LT(whole->getMeterReading(), 0.9);  // the material really is compressed
        }
    }
}

TEST(Driver, MissingBuffersProcessNothing) {
    auto e = makeEffect();
    Buffers<float> b(16);
    b.outL.assign(16, 5.0f);
    float* noLeft[2] = {nullptr, b.inR.data()};
    e->processReplacing(nullptr, b.outputs(), 16);
    e->processReplacing(b.inputs(), nullptr, 16);
    e->processReplacing(noLeft, b.outputs(), 16);
    EXPECT_EQ(b.outL, std::vector<float>(16, 5.0f));
    // A missing second buffer counts as an unconnected pin.
    float* leftOnlyIn[2] = {b.inL.data(), nullptr};
    float* leftOnlyOut[2] = {b.outL.data(), nullptr};
    long t = 0;
    fillMusic(b, t);
    e->processReplacing(leftOnlyIn, leftOnlyOut, 16);
    for (float y : b.outL) EXPECT_TRUE(std::isfinite(y));
    e->processReplacing(b.inputs(), b.outputs(), 0);
    e->processReplacing(b.inputs(), b.outputs(), -5);
}

TEST(Driver, QuietSignalInClearKeepsItsLevel) {
    for (int ratio = 0; ratio < 7; ++ratio) {
        Settings s;
        s.ratio = ratio / 6.0f;
        s.compression = 0.0f;
        auto e = makeEffect(s);
        Buffers<double> b(441);
        long t = 0;
        double in = 0, out = 0;
        for (int block = 0; block < 200; ++block) {
            for (int i = 0; i < 441; ++i, ++t) b.inL[i] = b.inR[i] = sine(t, 440.0, 44100.0, 0.1);
            e->processDoubleReplacing(b.inputs(), b.outputs(), 441);
            if (block > 100)
                for (int i = 0; i < 441; ++i) {
                    in += b.inL[i] * b.inL[i];
                    out += b.outL[i] * b.outL[i];
                }
        }
        EXPECT_LT(std::fabs(10.0 * std::log10(out / in)), 0.27) << ratio;
    }
}
