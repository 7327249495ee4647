// The LV2 plug-ins sound exactly like the VST 2.x plug-in at the same
// settings, whatever the host's blocks, buffers and rate.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lv2Reference.h"

namespace {

const PortSettings kSettings[] = {
    {},                            // the defaults: Valve, 3:1, 5, 5, 0 dB
    {1, 6, 0, 8.5f, 6},            // Clear, 10:1, fastest
    {2, 0, 10, 2.25f, 12.5f},      // Valve, 1.2:1, slowest
    {0, 4, 3.5f, 7.75f, 30},       // Off
    {1.4f, 2.6f, 6.3f, 4.1f, 3.3f} // between steps: snapped to 1, 3, 6.5, 4.0, 3.5
};

struct Variant {
    const char* uri;
    bool mono;
};
const Variant kVariants[] = {{lv2ports::kStereoUri, false}, {lv2ports::kMonoUri, true}};

}  // namespace

TEST(Lv2Audio, EqualsTheVstPluginSampleForSample) {
    Lv2World world;
    for (const Variant& variant : kVariants)
        for (double rate : {44100.0, 48000.0, 96000.0})
            for (const PortSettings& settings : kSettings) {
                SCOPED_TRACE(std::string(variant.uri) + " " + std::to_string(rate) + " Hz, process " +
                             std::to_string(settings.process));
                const int frames = static_cast<int>(rate / 2);
                const Channels in = testSignal(variant.mono ? 1 : 2, frames);
                const Channels first(in), second(in);
                Lv2TestInstance lv2(world, variant.uri, rate);
                ASSERT_TRUE(lv2.valid());
                VstReference vst(rate, variant.mono);
                applyToLv2(lv2, settings);
                vst.apply(settings);
                // Host blocks from 1 to 8192 frames against the VST host's 512.
                Channels lv2Out = lv2.process(in, {1, 7, 8192, 64, 513, 2, 4096});
                Channels vstOut = vst.process(in);
                EXPECT_TRUE(sameSamples(lv2Out, vstOut));
                EXPECT_EQ(lv2.get("gain_reduction"), controls::gainReductionDb(vst.meterReading()));

                // A change in the middle of a run reaches both at the same frame.
                PortSettings changed = settings;
                changed.compression = 9.25f;
                changed.ratio = 5;
                applyToLv2(lv2, changed);
                vst.apply(changed);
                EXPECT_TRUE(sameSamples(lv2.process(in, {333}), vst.process(in)));
            }
}

// The controls the VST 2.x plug-in lacks sound as the core does, with the
// key on its own ports; a Key External with those ports unconnected is Internal.
TEST(Lv2Audio, MixSidechainFilterAndKeyAsTheCore) {
    Lv2World world;
    PortSettings keyed;
    keyed.mix = 63;
    keyed.sidechainFilter = 3;  // 150 Hz
    keyed.key = 1;
    keyed.compression = 8;
    for (const Variant& variant : kVariants)
        for (double rate : {44100.0, 48000.0, 96000.0}) {
            SCOPED_TRACE(std::string(variant.uri) + " " + std::to_string(rate) + " Hz");
            const int frames = static_cast<int>(rate / 4);
            const Channels in = testSignal(variant.mono ? 1 : 2, frames);
            const Channels key = testSignal(variant.mono ? 1 : 2, frames, 7);
            Lv2TestInstance lv2(world, variant.uri, rate);
            ASSERT_EQ(lv2.keyPorts.size(), variant.mono ? 1u : 2u);
            CoreReference core(rate, variant.mono);
            applyToLv2(lv2, keyed);
            core.apply(keyed);
            const Channels lv2Out = lv2.process(in, {1, 300, 4096, 77}, &key);
            EXPECT_TRUE(sameSamples(lv2Out, core.process(in, &key)));
            // The same settings with the key unplugged: the detector hears the input.
            PortSettings internal = keyed;
            internal.key = 0;
            core.apply(internal);
            EXPECT_TRUE(sameSamples(lv2.process(in, {512}), core.process(in)));
            CoreReference fresh(rate, variant.mono);
            fresh.apply(internal);
            EXPECT_FALSE(sameSamples(lv2Out, fresh.process(in)));
        }
}

TEST(Lv2Audio, InPlaceBuffersGiveTheSameOutput) {
    Lv2World world;
    for (const Variant& variant : kVariants) {
        const Channels in = testSignal(variant.mono ? 1 : 2, 48000);
        Lv2TestInstance separate(world, variant.uri, 48000), inPlace(world, variant.uri, 48000);
        const Channels expected = separate.process(in, {256});
        Channels buffers = in;
        for (size_t done = 0; done < in[0].size(); done += 256) {
            std::vector<float*> pointers;
            for (auto& channel : buffers) pointers.push_back(channel.data() + done);
            inPlace.run(pointers, pointers, static_cast<unsigned>(std::min<size_t>(256, in[0].size() - done)));
        }
        EXPECT_TRUE(sameSamples(buffers, expected)) << variant.uri;
    }
}

TEST(Lv2Audio, BadRatesAndNonFiniteInputBehaveAsInTheVstPlugin) {
    Lv2World world;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double rate : {0.0, nan, -48000.0, inf, 1.0e9}) {
        Channels in = testSignal(2, 20000);
        in[0][100] = std::numeric_limits<float>::quiet_NaN();
        in[1][5000] = std::numeric_limits<float>::infinity();
        in[0][7000] = -std::numeric_limits<float>::infinity();
        Lv2TestInstance lv2(world, lv2ports::kStereoUri, rate);
        ASSERT_TRUE(lv2.valid()) << rate;
        VstReference vst(rate, false);
        const Channels out = lv2.process(in, {512});
        EXPECT_TRUE(sameSamples(out, vst.process(in))) << rate;
        for (const auto& channel : out)
            for (float x : channel) ASSERT_TRUE(std::isfinite(x)) << rate;
    }
}
