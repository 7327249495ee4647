// The side-chain and Mix through the CLAP plug-ins: a key on the second
// input reaches the detector exactly as the compressor takes it when driven
// directly, a host that gives no key buffer gets Key Internal's sound, and
// Mix 0 % passes the input untouched.
#include <algorithm>

#include "clapRender.h"
#include "clapTestSupport.h"
#include "core/Compressor.h"
#include "core/controls.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kFrames = 9000;
const std::vector<std::uint32_t> kBlocks = {512, 7, 1024, 333};

// Hard compression away from program 0's values, the key and Mix as given.
// Time is sent again inside a block: the plug-in renders the block in two
// runs there, the value unchanged.
std::vector<ParamChange> settings(double key, double mix = 100, double filter = 0) {
    return {{0, kRatio, 6}, {0, kCompression, 8.5}, {0, kTime, 2},          {0, kKey, key},
            {0, kMix, mix}, {0, kSidechainFilter, filter}, {3001, kTime, 2}};
}

// The key: the input's bursts half a reference run later, so that it is loud
// where the input is quiet.
template <typename Sample>
Signal<Sample> keyFor(const Signal<Sample>& in) {
    Signal<Sample> key = in;
    for (auto& channel : key) std::rotate(channel.begin(), channel.begin() + 4096, channel.end());
    return key;
}

// Compressor::process driven as the plug-in drives it: the values set as the
// host's events set them, the rate as a float, the same blocks, one channel
// passed as both, and the key's right channel only for a stereo key.
template <typename Sample>
Signal<Sample> renderDirect(const Signal<Sample>& in, const Signal<Sample>& key,
                            const std::vector<ParamChange>& changes, double rate = kRate) {
    Compressor compressor;
    Parameters& parameters = compressor.parameters();
    for (const ParamChange& change : changes) {
        const controls::Control& c = *controls::byHostId(change.id);
        const int step = controls::stepOf(c, change.value);
        if (controls::stepOfNormalised(c, parameters.get(c.parameter)) != step)
            parameters.set(c.parameter, controls::normalisedOfStep(c, step));
    }
    compressor.setSampleRate(static_cast<float>(rate));
    compressor.resume();
    Signal<Sample> out(in.size(), std::vector<Sample>(in[0].size()));
    const std::size_t right = in.size() - 1;
    for (std::size_t start = 0, b = 0; start < in[0].size(); ++b) {
        const std::size_t n = std::min<std::size_t>(kBlocks[b % kBlocks.size()], in[0].size() - start);
        compressor.process(in[0].data() + start, in[right].data() + start, out[0].data() + start,
                           out[right].data() + start, static_cast<Compressor::int32>(n),
                           key[0].data() + start, key.size() > 1 ? key[1].data() + start : nullptr);
        start += n;
    }
    return out;
}

template <typename Sample>
void keyEqualsTheCompressorsOwn(const char* id, int channels, double rate) {
    ClapLibrary library;
    const Signal<Sample> in = converted<Sample>(burstSignal(channels, kFrames));
    const Signal<Sample> key = keyFor(in);
    for (const auto& [mix, filter] : {std::pair{100.0, 0.0}, std::pair{60.0, 4.0}}) {
        SCOPED_TRACE(std::string(id) + ", " + std::to_string(sizeof(Sample) * 8) + " bits, Mix " +
                     std::to_string(mix) + ", filter " + std::to_string(filter));
        Signal<Sample> outputs[2];
        for (double external : {0.0, 1.0}) {
            TestClapHost host;
            ASSERT_NE(host.create(library, id), nullptr);
            ASSERT_TRUE(host.activate(rate, 1, 4096));
            RenderResult result;
            outputs[external > 0] = renderClap(host, in, kBlocks, settings(external, mix, filter), false, &result, &key);
            EXPECT_EQ(result.errors, 0);
            EXPECT_NO_THREAD_VIOLATIONS(host);
        }
        EXPECT_TRUE(sameSamples(outputs[1], renderDirect(in, key, settings(1, mix, filter), rate)));
        EXPECT_FALSE(sameSamples(outputs[1], outputs[0])) << "the key changed nothing";
    }
}

}  // namespace

TEST(ClapSidechain, KeyExternalHearsTheSecondInputAsTheCompressorDoes) {
    // Each width at two of the three rates.
    keyEqualsTheCompressorsOwn<float>(kStereoId, 2, 44100.0);
    keyEqualsTheCompressorsOwn<double>(kStereoId, 2, 48000.0);
    keyEqualsTheCompressorsOwn<float>(kMonoId, 1, 96000.0);
    keyEqualsTheCompressorsOwn<double>(kMonoId, 1, 44100.0);
}

// A host that leaves the side-chain out, or gives it with no buffers: the
// detector hears the input.
TEST(ClapSidechain, WithoutAKeyBufferKeyExternalSoundsAsKeyInternal) {
    ClapLibrary library;
    const Signal<float> in = converted<float>(burstSignal(2, kFrames));
    const Signal<float> none;
    auto render = [&](double key, const Signal<float>* keyInput) {
        TestClapHost host;
        if (!host.create(library, kStereoId) || !host.activate(kRate, 1, 4096)) {
            ADD_FAILURE() << "no instance";
            return Signal<float>{};
        }
        RenderResult result;
        const Signal<float> out = renderClap(host, in, kBlocks, settings(key), false, &result, keyInput);
        EXPECT_EQ(result.errors, 0);
        return out;
    };
    const Signal<float> internal = render(0, nullptr);
    EXPECT_TRUE(sameSamples(render(1, nullptr), internal)) << "one input";
    EXPECT_TRUE(sameSamples(render(1, &none), internal)) << "a second input without buffers";
    const Signal<double> in64 = converted<double>(burstSignal(2, kFrames));
    TestClapHost internal64, external64;
    for (TestClapHost* host : {&internal64, &external64}) {
        ASSERT_NE(host->create(library, kStereoId), nullptr);
        ASSERT_TRUE(host->activate(kRate, 1, 4096));
    }
    EXPECT_TRUE(sameSamples(renderClap(external64, in64, kBlocks, settings(1)),
                            renderClap(internal64, in64, kBlocks, settings(0))))
        << "64 bits, one input";
}

TEST(ClapSidechain, MixZeroPassesTheInputBitForBit) {
    ClapLibrary library;
    for (const char* id : {kStereoId, kMonoId}) {
        const int channels = id == kMonoId ? 1 : 2;
        const Signal<float> in = converted<float>(burstSignal(channels, kFrames));
        const Signal<double> in64 = converted<double>(burstSignal(channels, kFrames));
        const Signal<float> key = keyFor(in);
        TestClapHost dry, dry64, wet;
        for (TestClapHost* host : {&dry, &dry64, &wet}) {
            ASSERT_NE(host->create(library, id), nullptr);
            ASSERT_TRUE(host->activate(kRate, 1, 4096));
        }
        EXPECT_TRUE(sameSamples(renderClap(dry, in, kBlocks, settings(1, 0), false, nullptr, &key), in)) << id;
        EXPECT_TRUE(sameSamples(renderClap(dry64, in64, kBlocks, settings(0, 0)), in64)) << id;
        EXPECT_FALSE(sameSamples(renderClap(wet, in, kBlocks, settings(0, 1)), in)) << id << ": Mix 1 % is not dry";
    }
}
