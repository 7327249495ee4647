// The vector path against the baseline path, which computes what the engine
// always has: on the engine's test material, in every mode and ratio, at
// three rates and in both widths, every 64-bit output sample stays within
// 1e-9 of the output's peak and every 32-bit one within two units in the last
// place. Then the vector path alone, in the manner of lsp-dsp-lib's tests:
// odd block sizes, several alignments, in-place and separate buffers, guard
// zones around every buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "engineHarness.h"

using namespace harness;

namespace {

enum class Material { steady, bursts, music, drums };
const char* materialName(Material m) {
    switch (m) {
        case Material::steady:
            return "steady";
        case Material::bursts:
            return "bursts";
        case Material::music:
            return "music";
        default:
            return "drums";
    }
}

// Stereo test material, the same on every machine: a held chord, bursts that
// switch between loud and quiet every 50 ms (the cell's attack again and
// again), tone bursts with tails, and a drum pattern with noise hats.
void makeMaterial(Material m, double rate, long frames, std::vector<double>& left,
                  std::vector<double>& right) {
    left.assign(static_cast<size_t>(frames), 0.0);
    right.assign(static_cast<size_t>(frames), 0.0);
    std::uint32_t lcg = 12345u;
    for (long t = 0; t < frames; ++t) {
        const double s = t / rate;
        double l = 0.0, r = 0.0;
        switch (m) {
            case Material::steady:
                l = 0.5 * std::sin(6.283185307179586 * 220.0 * s);
                r = 0.5 * std::sin(6.283185307179586 * 330.0 * s);
                break;
            case Material::bursts: {
                const double env = static_cast<long>(s / 0.05) % 2 ? 1.0 : 0.02;
                l = env * std::sin(6.283185307179586 * 220.0 * s);
                r = env * std::sin(6.283185307179586 * 330.0 * s);
                break;
            }
            case Material::music: {
                const double env = static_cast<long>(s / 0.05) % 3 == 0 ? 1.0 : 0.1;
                l = 0.8 * env * std::sin(6.283185307179586 * 220.0 * s);
                r = 0.8 * env * std::sin(6.283185307179586 * 330.0 * s);
                break;
            }
            case Material::drums: {
                const double beat = std::fmod(s, 0.333), half = std::fmod(s, 0.1665);
                lcg = lcg * 1664525u + 1013904223u;
                const double noise = static_cast<double>(lcg >> 8) / 8388608.0 - 1.0;
                const double kick =
                    0.95 * std::exp(-beat * 18.0) *
                    std::sin(6.283185307179586 * (50.0 + 120.0 * std::exp(-beat * 40.0)) * beat);
                const double hat = 0.25 * std::exp(-half * 60.0) * noise;
                const double bass = 0.3 * std::sin(6.283185307179586 * 55.0 * s);
                l = kick + hat + bass;
                r = kick - 0.7 * hat + bass;
                break;
            }
        }
        left[static_cast<size_t>(t)] = l;
        right[static_cast<size_t>(t)] = r;
    }
}

struct Case {
    EnginePath path;
    float rate;
    float process, ratio, time, compression, output;
};

// Runs the material through one effect in blocks of 512, with Compression and
// Output moving half-way so that the smoothers glide.
template <typename Sample>
std::vector<Sample> render(const Case& c, const std::vector<double>& left,
                           const std::vector<double>& right) {
    Settings s;
    s.process = c.process;
    s.ratio = c.ratio;
    s.time = c.time;
    s.compression = c.compression;
    s.output = c.output;
    auto e = makeEffect(s, c.rate, c.path);
    const size_t frames = left.size();
    std::vector<Sample> inL(left.begin(), left.end()), inR(right.begin(), right.end());
    std::vector<Sample> out(2 * frames);
    for (size_t at = 0; at < frames; at += 512) {
        if (at >= frames / 2 && at < frames / 2 + 512) {
            e->setParameter(5, std::min(1.0f, c.compression + 0.2f));
            e->setParameter(6, 0.3f);
        }
        const int n = static_cast<int>(std::min<size_t>(512, frames - at));
        Sample* in[2] = {inL.data() + at, inR.data() + at};
        Sample* o[2] = {out.data() + at, out.data() + frames + at};
        if constexpr (sizeof(Sample) == sizeof(float))
            e->processReplacing(in, o, n);
        else
            e->processDoubleReplacing(in, o, n);
    }
    return out;
}

std::int32_t floatUlps(float a, float b) {
    std::int32_t x, y;
    std::memcpy(&x, &a, 4);
    std::memcpy(&y, &b, 4);
    if (x < 0) x = std::numeric_limits<std::int32_t>::min() - x;
    if (y < 0) y = std::numeric_limits<std::int32_t>::min() - y;
    return x > y ? x - y : y - x;
}

// The largest difference relative to the peak of each channel's output.
double deviationOfPeak(const std::vector<double>& got, const std::vector<double>& want) {
    const size_t half = want.size() / 2;
    double worst = 0.0;
    for (size_t channel = 0; channel < 2; ++channel) {
        double peak = 0.0, deviation = 0.0;
        for (size_t i = channel * half; i < (channel + 1) * half; ++i) {
            peak = std::max(peak, std::fabs(want[i]));
            deviation = std::max(deviation, std::fabs(got[i] - want[i]));
        }
        worst = std::max(worst, peak > 0.0 ? deviation / peak : deviation);
    }
    return worst;
}

struct VectorPath : ::testing::Test {
    void SetUp() override {
        if (!vectorEngineSupported()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    }
};

}  // namespace

TEST(EnginePaths, TheBaselineCanAlwaysBeChosen) {
    auto e = makeEffect();
    EXPECT_EQ(e->core().setEnginePath(EnginePath::baseline), EnginePath::baseline);
    EXPECT_EQ(e->core().getEnginePath(), EnginePath::baseline);
    const EnginePath vector = e->core().setEnginePath(EnginePath::vector);
    EXPECT_EQ(vector, vectorEngineSupported() ? EnginePath::vector : EnginePath::baseline)
        << "the vector path only where the processor runs it";
    std::printf("this processor: %s; new effects take the %s path\n",
                vectorEngineSupported() ? "AVX2 and FMA" : "no AVX2 and FMA",
                enginePathName(defaultEnginePath()));
}

TEST_F(VectorPath, StaysWithinItsBoundOfTheBaselineEverywhere) {
    double worst64 = 0.0;
    std::int32_t worst32 = 0;
    long samples = 0, differing64 = 0, differing32 = 0;
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        for (Material m : {Material::steady, Material::bursts, Material::music, Material::drums}) {
            std::vector<double> left, right;
            makeMaterial(m, rate, static_cast<long>(rate / 2), left, right);
            for (float process : {0.5f, 1.0f}) {
                for (int ratio = 0; ratio < 7; ++ratio) {
                    Case c{EnginePath::baseline,
                           rate,
                           process,
                           ratio / 6.0f,
                           static_cast<float>((ratio % 3) / 2.0),
                           0.4f + 0.1f * (ratio % 4),
                           0.0f};
                    const std::vector<double> base64 = render<double>(c, left, right);
                    const std::vector<float> base32 = render<float>(c, left, right);
                    c.path = EnginePath::vector;
                    const std::vector<double> vec64 = render<double>(c, left, right);
                    const std::vector<float> vec32 = render<float>(c, left, right);
                    const double deviation = deviationOfPeak(vec64, base64);
                    std::int32_t ulps = 0;
                    for (size_t i = 0; i < vec32.size(); ++i) {
                        const std::int32_t u = floatUlps(vec32[i], base32[i]);
                        ulps = std::max(ulps, u);
                        differing32 += u != 0;
                        differing64 += vec64[i] != base64[i];
                        ASSERT_TRUE(std::isfinite(vec64[i]) && std::isfinite(vec32[i]));
                    }
                    samples += static_cast<long>(vec32.size());
                    EXPECT_LE(deviation, 1e-9)
                        << materialName(m) << " at " << rate << " Hz, "
                        << (process > 0.7f ? "Valve" : "Clear") << ", ratio " << ratio;
                    EXPECT_LE(ulps, 2)
                        << materialName(m) << " at " << rate << " Hz, "
                        << (process > 0.7f ? "Valve" : "Clear") << ", ratio " << ratio;
                    worst64 = std::max(worst64, deviation);
                    worst32 = std::max(worst32, ulps);
                }
            }
        }
    }
    std::printf(
        "vector against baseline over %ld samples: 64-bit at most %.3g of the peak (%.3g of "
        "the 1e-9 allowed; %.1f%% of samples not identical), 32-bit at most %d ulp "
        "(%.4f%% of samples not identical)\n",
        samples, worst64, worst64 / 1e-9, 100.0 * differing64 / samples, worst32,
        100.0 * differing32 / samples);
}

// Within each path the float twin is the double twin narrowed, bit for bit.
TEST(EnginePaths, FloatTwinIsTheDoubleTwinNarrowedOnBothPaths) {
    for (EnginePath path : {EnginePath::baseline, EnginePath::vector}) {
        if (path == EnginePath::vector && !vectorEngineSupported()) continue;
        std::vector<double> left, right;
        makeMaterial(Material::drums, 48000.0, 24000, left, right);
        for (float process : {0.5f, 1.0f}) {
            for (int ratio : {0, 3, 5, 6}) {
                Case c{path, 48000.0f, process, ratio / 6.0f, 0.5f, 0.8f, 0.2f};
                std::vector<double> narrowL(left.size()), narrowR(right.size());
                for (size_t i = 0; i < left.size(); ++i) {
                    narrowL[i] = static_cast<float>(left[i]);
                    narrowR[i] = static_cast<float>(right[i]);
                }
                const std::vector<double> d = render<double>(c, narrowL, narrowR);
                const std::vector<float> f = render<float>(c, narrowL, narrowR);
                for (size_t i = 0; i < f.size(); ++i)
                    ASSERT_EQ(f[i], static_cast<float>(d[i]))
                        << enginePathName(path) << " sample " << i;
            }
        }
    }
}

namespace {

// A buffer with guard zones on both sides, placed `offset` samples past an
// aligned start so that the path meets every alignment.
template <typename Sample>
struct Guarded {
    static constexpr size_t kGuard = 16;
    static constexpr Sample kMark = static_cast<Sample>(-12345.25);
    std::vector<Sample> storage;
    size_t offset, size;
    Guarded(size_t size, size_t offset)
        : storage(size + 2 * kGuard + 8, kMark), offset(offset), size(size) {}
    Sample* data() { return storage.data() + kGuard + offset; }
    bool guardsIntact() const {
        for (size_t i = 0; i < kGuard + offset; ++i)
            if (storage[i] != kMark) return false;
        for (size_t i = kGuard + offset + size; i < storage.size(); ++i)
            if (storage[i] != kMark) return false;
        return true;
    }
};

// The material through an effect in the given block sizes (cycled), into
// separate or the same buffers; answers left then right.
template <typename Sample>
std::vector<Sample> renderInBlocks(EnginePath path, const std::vector<double>& left,
                                   const std::vector<double>& right, const std::vector<int>& sizes,
                                   size_t offset, bool inPlace, bool& guardsIntact) {
    Settings s;
    s.process = 1.0f;
    s.ratio = 4.0f / 6.0f;
    s.compression = 0.9f;
    auto e = makeEffect(s, 48000.0f, path);
    std::vector<Sample> result;
    result.reserve(2 * left.size());
    std::vector<Sample> outL, outR;
    size_t at = 0;
    guardsIntact = true;
    for (size_t k = 0; at < left.size(); ++k) {
        const size_t n =
            std::min<size_t>(static_cast<size_t>(sizes[k % sizes.size()]), left.size() - at);
        Guarded<Sample> inL(n, offset), inR(n, (offset + 1) % 4), oL(n, (offset + 2) % 4),
            oR(n, (offset + 3) % 4);
        for (size_t i = 0; i < n; ++i) {
            inL.data()[i] = static_cast<Sample>(left[at + i]);
            inR.data()[i] = static_cast<Sample>(right[at + i]);
        }
        Sample* ins[2] = {inL.data(), inR.data()};
        Sample* outs[2] = {inPlace ? inL.data() : oL.data(), inPlace ? inR.data() : oR.data()};
        if constexpr (sizeof(Sample) == sizeof(float))
            e->processReplacing(ins, outs, static_cast<int32>(n));
        else
            e->processDoubleReplacing(ins, outs, static_cast<int32>(n));
        guardsIntact = guardsIntact && inL.guardsIntact() && inR.guardsIntact() &&
                       oL.guardsIntact() && oR.guardsIntact();
        for (size_t i = 0; i < n; ++i) outL.push_back(outs[0][i]);
        for (size_t i = 0; i < n; ++i) outR.push_back(outs[1][i]);
        at += n;
    }
    result = outL;
    result.insert(result.end(), outR.begin(), outR.end());
    return result;
}

template <typename Sample>
void checkBlockSizes() {
    std::vector<double> left, right;
    makeMaterial(Material::drums, 48000.0, 12000, left, right);
    bool intact = true;
    const std::vector<Sample> reference =
        renderInBlocks<Sample>(EnginePath::vector, left, right, {512}, 0, false, intact);
    const std::vector<Sample> baseline =
        renderInBlocks<Sample>(EnginePath::baseline, left, right, {512}, 0, false, intact);
    std::vector<std::vector<int>> patterns;
    for (int n = 1; n <= 25; ++n) patterns.push_back({n});
    for (int n : {32, 64, 65, 100, 999, 4095}) patterns.push_back({n});
    patterns.push_back({0, 1, 31, 0, 33, 7, 2, 300, 5, 256, 3});
    for (const auto& sizes : patterns) {
        for (size_t offset = 0; offset < 4; ++offset) {
            for (bool inPlace : {false, true}) {
                const std::vector<Sample> got = renderInBlocks<Sample>(
                    EnginePath::vector, left, right, sizes, offset, inPlace, intact);
                ASSERT_TRUE(intact)
                    << "a guard zone was written, block " << sizes[0] << ", offset " << offset;
                ASSERT_EQ(got, reference) << "block " << sizes[0] << ", offset " << offset
                                          << (inPlace ? ", in place" : "");
            }
        }
    }
    // And the vector path's blocks of 512 stay by the baseline's.
    for (size_t i = 0; i < baseline.size(); ++i) {
        if constexpr (sizeof(Sample) == sizeof(float))
            ASSERT_LE(floatUlps(reference[i], baseline[i]), 2) << i;
        else
            ASSERT_NEAR(reference[i], baseline[i], 1e-9) << i;
    }
}

}  // namespace

TEST_F(VectorPath, AnyBlockSizeAlignmentAndBufferLayoutGivesTheSameOutput) {
    checkBlockSizes<double>();
    checkBlockSizes<float>();
}

// What the vector path leaves in the engine state is what the baseline leaves,
// so the two can take over from each other between blocks.
TEST_F(VectorPath, LeavesTheEngineStateAsTheBaselineDoes) {
    std::vector<double> left, right;
    makeMaterial(Material::music, 44100.0, 44100, left, right);
    for (int frames : {1, 3, 32, 35, 500, 512, 1027}) {
        Settings s;
        s.process = 1.0f;
        s.compression = 0.8f;
        auto base = makeEffect(s, 44100.0f, EnginePath::baseline);
        auto vec = makeEffect(s, 44100.0f, EnginePath::vector);
        Buffers<double> a(static_cast<size_t>(frames)), b(static_cast<size_t>(frames));
        for (long at = 0; at + frames <= 44100; at += frames) {
            for (int i = 0; i < frames; ++i) {
                a.inL[i] = b.inL[i] = left[static_cast<size_t>(at + i)];
                a.inR[i] = b.inR[i] = right[static_cast<size_t>(at + i)];
            }
            base->processDoubleReplacing(a.inputs(), a.outputs(), frames);
            vec->processDoubleReplacing(b.inputs(), b.outputs(), frames);
        }
        const EngineState& x = base->core().engineState();
        const EngineState& y = vec->core().engineState();
        EXPECT_EQ(x.noise.s1, y.noise.s1) << frames;
        EXPECT_EQ(x.noise.s2, y.noise.s2) << frames;
        EXPECT_EQ(x.noise.s3, y.noise.s3) << frames;
        EXPECT_EQ(x.engineOffset, y.engineOffset) << frames;
        EXPECT_EQ(x.smoothedDrive, y.smoothedDrive) << frames;
        EXPECT_EQ(x.smoothedOutputGain, y.smoothedOutputGain) << frames;
        EXPECT_EQ(x.inverseDrive, y.inverseDrive) << frames;
        for (auto [p, q] : {std::pair{&x.sideChainLeft, &y.sideChainLeft},
                            {&x.sideChainRight, &y.sideChainRight},
                            {&x.fastDetector, &y.fastDetector},
                            {&x.slowDetector, &y.slowDetector}}) {
            // The side-chain and the detectors see the same input: bit for bit.
            EXPECT_EQ(p->offset, q->offset) << frames;
            EXPECT_EQ(p->x0, q->x0) << frames;
            EXPECT_EQ(p->x1, q->x1) << frames;
            EXPECT_EQ(p->x2, q->x2) << frames;
            EXPECT_EQ(p->y0, q->y0) << frames;
            EXPECT_EQ(p->y1, q->y1) << frames;
            EXPECT_EQ(p->y2, q->y2) << frames;
        }
        for (auto [p, q] :
             {std::pair{&x.cellSection, &y.cellSection}, {&x.meterSection, &y.meterSection}}) {
            EXPECT_EQ(p->offset, q->offset) << frames;
            for (auto [u, v] : {std::pair{p->x0, q->x0},
                                {p->x1, q->x1},
                                {p->x2, q->x2},
                                {p->y0, q->y0},
                                {p->y1, q->y1},
                                {p->y2, q->y2},
                                {p->a1, q->a1},
                                {p->b0, q->b0}})
                EXPECT_NEAR(u, v, 1e-9 * std::max(1.0, std::fabs(u))) << frames;
            EXPECT_NEAR(p->frequency, q->frequency, 1e-9 * p->frequency) << frames;
        }
        EXPECT_NEAR(x.cellLevel, y.cellLevel, 1e-9 * x.cellLevel) << frames;
        EXPECT_NEAR(base->getMeterReading(), vec->getMeterReading(), 1e-9) << frames;
    }
}

// Effects on the two paths may be swapped between blocks: a host that moved
// an effect to another machine mid-song would hear nothing of it.
TEST_F(VectorPath, PathsCanTakeOverFromEachOther) {
    std::vector<double> left, right;
    makeMaterial(Material::bursts, 48000.0, 48000, left, right);
    Settings s;
    s.process = 1.0f;
    s.ratio = 1.0f;
    auto base = makeEffect(s, 48000.0f, EnginePath::baseline);
    auto mixed = makeEffect(s, 48000.0f, EnginePath::vector);
    Buffers<double> a(480), b(480);
    double worst = 0.0;
    for (int block = 0; block < 100; ++block) {
        mixed->core().setEnginePath(block % 2 ? EnginePath::baseline : EnginePath::vector);
        for (int i = 0; i < 480; ++i) {
            a.inL[i] = b.inL[i] = left[static_cast<size_t>(block * 480 + i)];
            a.inR[i] = b.inR[i] = right[static_cast<size_t>(block * 480 + i)];
        }
        base->processDoubleReplacing(a.inputs(), a.outputs(), 480);
        mixed->processDoubleReplacing(b.inputs(), b.outputs(), 480);
        for (int i = 0; i < 480; ++i) worst = std::max(worst, std::fabs(a.outL[i] - b.outL[i]));
    }
    EXPECT_LE(worst, 1e-9);
}
