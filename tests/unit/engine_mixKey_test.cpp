// Mix, the Sidechain Filter and the key input, as a producer hears them:
// parallel compression that blends with the dry signal, a detector that
// ignores the bass, and ducking under another track.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/Compressor.h"
#include "core/controls.h"
#include "platform/headless/memorySettingsStore.h"

namespace {

using Signal = std::vector<float>;
constexpr double kRate = 48000.0;
constexpr double kTwoPi = 6.283185307179586;

struct Take {
    int process = 2, ratio = 3, time = 5, compression = 5;  // as the controls show them
    int mix = 100, filter = 0, key = 0, oversampling = 0;
    EnginePath path = defaultEnginePath();
};

void setControl(Compressor& c, controls::Id id, float value) {
    for (const controls::Control& control : controls::kControls)
        if (control.id == id)
            c.parameters().set(control.parameter, controls::normalisedOfStep(control, controls::stepOf(control, value)));
}

struct Render {
    Signal left, right;
    std::vector<double> reductionDb;  // the meter after each block of 64
};

// A stereo render (the right channel a copy of the left), in blocks of 64.
Render render(const Take& s, const Signal& in, const Signal* key = nullptr) {
    platform::headless::memorySettingsStore().clear();
    Compressor c;
    c.setEnginePath(s.path);
    c.setSampleRate(kRate);
    setControl(c, controls::Id::process, static_cast<float>(s.process));
    setControl(c, controls::Id::ratio, static_cast<float>(s.ratio));
    setControl(c, controls::Id::time, static_cast<float>(s.time));
    setControl(c, controls::Id::compression, static_cast<float>(s.compression));
    setControl(c, controls::Id::mix, static_cast<float>(s.mix));
    setControl(c, controls::Id::sidechainFilter, static_cast<float>(s.filter));
    setControl(c, controls::Id::key, static_cast<float>(s.key));
    setControl(c, controls::Id::oversampling, static_cast<float>(s.oversampling));
    c.resume();
    Render r{Signal(in.size()), Signal(in.size()), {}};
    for (size_t done = 0; done < in.size(); done += 64) {
        const int n = static_cast<int>(std::min<size_t>(64, in.size() - done));
        const float* k = key ? key->data() + done : nullptr;
        c.process(in.data() + done, in.data() + done, r.left.data() + done, r.right.data() + done, n, k, k);
        r.reductionDb.push_back(controls::gainReductionDb(c.getMeterReading()));
    }
    return r;
}

Signal tone(double seconds, std::initializer_list<std::pair<double, double>> partials) {
    Signal out(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < out.size(); ++i)
        for (const auto& [hz, amplitude] : partials) out[i] += static_cast<float>(amplitude * std::sin(kTwoPi * hz * i / kRate));
    return out;
}

// Drum-like hits: decaying bursts of a tone every quarter second.
void addHits(Signal& signal, double hz, double amplitude) {
    for (size_t i = 0; i < signal.size(); ++i) {
        const double t = std::fmod(i / kRate, 0.25);
        signal[i] += static_cast<float>(amplitude * std::exp(-t * 30.0) * std::sin(kTwoPi * hz * i / kRate));
    }
}

double meanOf(const std::vector<double>& v, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += v[i];
    return sum / static_cast<double>(to - from);
}

}  // namespace

TEST(MixAndKey, MixBlendsTheInputWithTheCompressedSignal) {
    Signal in = tone(0.5, {{220.0, 0.4}, {3000.0, 0.1}});
    addHits(in, 90.0, 0.5);
    for (EnginePath path : {EnginePath::baseline, EnginePath::vector}) {
        if (path == EnginePath::vector && !vectorEngineSupported()) continue;
        Take s;
        s.path = path;
        s.compression = 8;
        const Render full = render(s, in);
        s.mix = 0;
        const Render dry = render(s, in);
        EXPECT_EQ(dry.left, in);
        EXPECT_EQ(dry.reductionDb, full.reductionDb) << "the meter shows the reduction whatever the mix";
        s.mix = 50;
        const Render half = render(s, in);
        double worst = 0.0;
        for (size_t i = 0; i < in.size(); ++i)
            worst = std::max(worst, std::fabs(half.left[i] - 0.5 * (in[i] + full.left[i])));
        EXPECT_LE(worst, 1e-7);
        // A render that starts at 0 % is the input whatever the oversampling.
        s.mix = 0;
        s.oversampling = 2;
        EXPECT_EQ(render(s, in).left, in);
    }
}

TEST(MixAndKey, AMixChangeGlidesAndEndsExactlyOnTheInput) {
    const Signal in = tone(0.2, {{1000.0, 0.5}});
    platform::headless::memorySettingsStore().clear();
    Compressor c;
    c.setSampleRate(kRate);
    setControl(c, controls::Id::compression, 10);
    c.resume();
    Signal out(in.size());
    const size_t half = in.size() / 2;
    c.process(in.data(), in.data(), out.data(), out.data(), static_cast<int>(half));
    setControl(c, controls::Id::mix, 0);
    c.process(in.data() + half, in.data() + half, out.data() + half, out.data() + half,
              static_cast<int>(in.size() - half));
    // 15 ms at 48 kHz: 720 samples from the compressed signal to the input.
    size_t firstExact = in.size();
    for (size_t i = in.size(); i-- > half;)
        if (out[i] == in[i]) firstExact = i;
        else break;
    // (The last few samples of the glide may already round to the input.)
    EXPECT_LE(firstExact, half + 719);
    EXPECT_GT(firstExact, half + 650);
    double largestStep = 0.0;
    for (size_t i = half - 100; i < half + 800; ++i)
        largestStep = std::max(largestStep, std::fabs(double(out[i + 1]) - out[i]));
    // A 1 kHz sine at 0.5 moves at most 0.066 a sample; a jump to the input would move far more.
    EXPECT_LT(largestStep, 0.07);
}

TEST(MixAndKey, TheSidechainFilterStopsTheBassPumpingAndLeavesTheRestAlone) {
    Signal bassy = tone(2.0, {{50.0, 0.5}});
    addHits(bassy, 1800.0, 0.3);
    Signal bright = tone(2.0, {{700.0, 0.2}, {2500.0, 0.1}});
    addHits(bright, 1200.0, 0.3);
    Take s;
    s.compression = 8;
    const size_t settled = 500;  // blocks: the last 1.33 s
    auto averageAt = [&](const Signal& in, int filter) {
        s.filter = filter;
        const Render r = render(s, in);
        return meanOf(r.reductionDb, settled, r.reductionDb.size());
    };
    const double bassOff = averageAt(bassy, 0), bassFiltered = averageAt(bassy, 3);
    EXPECT_GE(bassOff - bassFiltered, 3.0) << bassOff << " dB against " << bassFiltered << " dB at 150 Hz";
    const double brightOff = averageAt(bright, 0), brightFiltered = averageAt(bright, 3);
    EXPECT_LT(std::fabs(brightOff - brightFiltered), 0.5) << brightOff << " dB against " << brightFiltered;
    EXPECT_GT(brightOff, 3.0) << "the bright material is compressed at all";
}

TEST(MixAndKey, AKeyDucksTheInputAndOnlyWhileItSounds) {
    const Signal in = tone(3.0, {{1000.0, 0.25}});
    // Bursts of 500 Hz: 150 ms on, 850 ms off, three times (an opto cell lets go slowly).
    Signal key = tone(3.0, {{500.0, 0.7}});
    for (size_t i = 0; i < key.size(); ++i)
        if (std::fmod(i / kRate, 1.0) >= 0.15) key[i] = 0.0f;
    Take s;
    s.ratio = 6;
    s.time = 0;
    s.compression = 10;
    s.key = 1;
    const Render ducked = render(s, in, &key);
    const size_t perBurst = static_cast<size_t>(kRate / 64);
    for (size_t burst = 1; burst < 3; ++burst) {
        const size_t start = burst * perBurst;
        const double during = meanOf(ducked.reductionDb, start + 40, start + 110);  // 53 to 147 ms in
        const double between = meanOf(ducked.reductionDb, start + 680, start + 740);  // 0.9 s to 0.99 s
        // Measured: 5.6 dB during each burst, 0.06 dB just before the next.
        EXPECT_GT(during, 4.0) << "burst " << burst;
        EXPECT_LT(between, 0.25) << "after burst " << burst;
    }
    const Signal silence(in.size(), 0.0f);
    const Render quiet = render(s, in, &silence);
    EXPECT_LT(*std::max_element(quiet.reductionDb.begin(), quiet.reductionDb.end()), 0.1);
    // Key External with no key connected, and Internal: the same samples.
    const Render unplugged = render(s, in);
    s.key = 0;
    const Render internal = render(s, in);
    EXPECT_EQ(unplugged.left, internal.left);
    EXPECT_GT(meanOf(internal.reductionDb, 100, internal.reductionDb.size()), 3.0);
}

TEST(MixAndKey, BothEnginePathsHearTheKeyThroughTheFilterAlike) {
    if (!vectorEngineSupported()) GTEST_SKIP() << "this processor has no AVX2 and FMA";
    Signal in = tone(0.3, {{300.0, 0.3}});
    Signal key = tone(0.3, {{60.0, 0.6}});
    addHits(key, 900.0, 0.5);
    Take s;
    s.key = 1;
    s.filter = 2;
    s.mix = 70;
    s.path = EnginePath::baseline;
    const Render baseline = render(s, in, &key);
    s.path = EnginePath::vector;
    const Render vector = render(s, in, &key);
    double worst = 0.0;
    for (size_t i = 0; i < in.size(); ++i) worst = std::max(worst, std::fabs(double(baseline.left[i]) - vector.left[i]));
    EXPECT_LE(worst, 1e-6);
    EXPECT_NE(baseline.left, render(Take{}, in).left);
}

// The oversampled valve's filters turn the phase of the highs; the dry signal
// takes the same filters, so a blend does not comb (it lost 5.9 dB at 5 kHz
// at 2x before). And oversampling keeps the treble: the curve's mean of
// neighbours took 1.6 dB at 18 kHz at 2x before its shelf.
TEST(MixAndKey, ABlendWithTheOversampledValveDoesNotComb) {
    for (int oversampling : {1, 2})
        for (double hz : {5000.0, 12000.0, 18000.0}) {
            const Signal in = tone(0.5, {{hz, 0.01}});  // quiet: the valve is nearly straight
            auto levelDb = [&](int mix, int oversampling) {
                platform::headless::memorySettingsStore().clear();
                Compressor c;
                c.setSampleRate(kRate);
                setControl(c, controls::Id::compression, 0);
                setControl(c, controls::Id::oversampling, static_cast<float>(oversampling));
                setControl(c, controls::Id::mix, static_cast<float>(mix));
                c.resume();
                Signal out(in.size());
                c.process(in.data(), in.data(), out.data(), out.data(), static_cast<int>(in.size()));
                double energy = 0.0, input = 0.0;
                for (size_t i = in.size() / 2; i < in.size(); ++i) {
                    energy += double(out[i]) * out[i];
                    input += double(in[i]) * in[i];
                }
                return 10.0 * std::log10(energy / input);
            };
            const double wet = levelDb(100, oversampling), half = levelDb(50, oversampling);
            EXPECT_NEAR(half, wet, 0.1) << hz << " Hz at oversampling " << oversampling;
            EXPECT_NEAR(wet, levelDb(100, 0), 0.15) << hz << " Hz at oversampling " << oversampling;
        }
}
