// The CLAP plug-ins sound exactly like the VST 2.x plug-in at the same
// settings: both sample widths, every block size the host picks, changes at
// their frame inside a block, in place or not.
#include <cmath>
#include <limits>

#include "clapTestSupport.h"
#include "core/controls.h"
#include "formats/vst2/meterRequest.h"
#include "TestHost.h"
#include "vstRender.h"

namespace {

// The program's controls; the instance settings stay at their defaults,
// which the VST 2.x plug-in cannot leave.
struct Setting {
    double values[controls::kProgramCount];  // plain values in the controls' order
    int steps[controls::kProgramCount];      // the steps they land on
};

const Setting kSettings[] = {
    {{2, 3, 5, 5, 0}, {2, 3, 10, 20, 0}},           // the defaults: Valve, 3:1
    {{1, 6, 0, 8.5, 6}, {1, 6, 0, 34, 12}},         // Clear, 10:1, fastest
    {{2, 0, 10, 2.25, 12.5}, {2, 0, 20, 9, 25}},    // Valve, 1.2:1, slowest
    {{0, 4, 3.5, 7.75, 30}, {0, 4, 7, 31, 60}},     // Off
    {{1.7, 2.6, 6.3, 4.1, 3.3}, {1, 2, 13, 16, 7}}, // between steps
};

// A change in the middle of blocks of every size but 1.
constexpr std::uint32_t kChangeFrame = 3001;
constexpr double kLaterCompression = 9.25, kLaterRatio = 5;
constexpr int kLaterCompressionStep = 37;

const std::vector<std::vector<std::uint32_t>> kBlockPatterns = {
    {1}, {7}, {4096}, {1, 7, 4096, 64, 513, 2, 333}};

std::vector<ParamChange> clapChanges(const Setting& s) {
    std::vector<ParamChange> changes;
    for (int c = 0; c < controls::kProgramCount; ++c)
        changes.push_back({0, static_cast<clapabi::Id>(controls::kControls[c].hostId), s.values[c]});
    changes.push_back({kChangeFrame, kCompression, kLaterCompression});
    changes.push_back({kChangeFrame, kRatio, kLaterRatio});
    return changes;
}

std::vector<VstChange> vstChanges(const Setting& s) {
    std::vector<VstChange> changes;
    for (int c = 0; c < controls::kProgramCount; ++c) {
        const controls::Control& control = controls::kControls[c];
        changes.push_back({0, control.parameter, controls::normalisedOfStep(control, s.steps[c])});
    }
    changes.push_back({kChangeFrame, 5, controls::normalisedOfStep(controls::kControls[3], kLaterCompressionStep)});
    changes.push_back({kChangeFrame, 2, controls::normalisedOfStep(controls::kControls[1], 5)});
    return changes;
}

template <typename Sample>
void compareEverywhere(const char* id, bool mono) {
    ClapLibrary library;
    for (double rate : {44100.0, 48000.0, 96000.0})
        for (const Setting& setting : kSettings) {
            const Signal<Sample> in = converted<Sample>(burstSignal(mono ? 1 : 2, 9000));
            const Signal<Sample> expected = renderVst(rate, mono, in, vstChanges(setting));
            for (const auto& blocks : kBlockPatterns) {
                SCOPED_TRACE(std::string(id) + " at " + std::to_string(rate) + " Hz, " +
                             std::to_string(sizeof(Sample) * 8) + " bits, blocks from " +
                             std::to_string(blocks[0]) + ", setting " + std::to_string(&setting - kSettings));
                TestClapHost host;
                ASSERT_NE(host.create(library, id), nullptr);
                ASSERT_TRUE(host.activate(rate, 1, 4096));
                RenderResult result;
                const Signal<Sample> out = renderClap(host, in, blocks, clapChanges(setting), false, &result);
                EXPECT_EQ(result.errors, 0);
                EXPECT_TRUE(sameSamples(out, expected));
                EXPECT_NO_THREAD_VIOLATIONS(host);
            }
        }
}

}  // namespace

TEST(ClapAudio, StereoEqualsTheVstPluginIn32Bits) { compareEverywhere<float>(kStereoId, false); }
TEST(ClapAudio, StereoEqualsTheVstPluginIn64Bits) { compareEverywhere<double>(kStereoId, false); }
TEST(ClapAudio, MonoEqualsTheVstPluginsOneInOneOut) {
    compareEverywhere<float>(kMonoId, true);
    compareEverywhere<double>(kMonoId, true);
}

TEST(ClapAudio, InPlaceBuffersGiveTheSameOutput) {
    ClapLibrary library;
    for (const char* id : {kStereoId, kMonoId}) {
        const Signal<float> in = converted<float>(burstSignal(id == kMonoId ? 1 : 2, 20000));
        Signal<float> outputs[2];
        for (bool inPlace : {false, true}) {
            TestClapHost host;
            ASSERT_NE(host.create(library, id), nullptr);
            ASSERT_TRUE(host.activate(48000));
            outputs[inPlace] = renderClap(host, in, {256}, clapChanges(kSettings[1]), inPlace);
        }
        EXPECT_TRUE(sameSamples(outputs[0], outputs[1])) << id;
        EXPECT_FALSE(sameSamples(outputs[0], in)) << id << ": nothing was processed";
    }
}

TEST(ClapAudio, EventsPastTheBlockOrOutOfOrderAreClampedAsTheHostMeantThem) {
    ClapLibrary library;
    const Signal<float> in = converted<float>(burstSignal(2, 4096));
    // A change timed past its 1024-frame block counts at the block's last
    // frame; one timed before the previous event counts where that one was.
    const std::vector<ParamChange> late = {{0, kCompression, 9.0}, {1023, kOutput, 12.0}};
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    ASSERT_TRUE(host.activate(48000));
    host.startProcessing();
    Signal<float> out = in;
    host.audio.run([&] {
        for (std::uint32_t start = 0; start < 4096; start += 1024) {
            InputEventList events;
            if (start == 0) {
                events.add(600, kCompression, 9.0);
                events.add(100, kOutput, 12.0);  // before the previous one: at 600
            }
            if (start == 1024) events.add(50000, kTime, 1.0);  // past the block: at 2047
            ASSERT_EQ(processInPlace(host.plugin, out, start, 1024, events), clapabi::kProcessContinue);
        }
    });
    host.stopProcessing();
    const controls::Control& compression = controls::kControls[3];
    const controls::Control& output = controls::kControls[4];
    const controls::Control& time = controls::kControls[2];
    const Signal<float> expected = renderVst<float>(
        48000, false, in,
        {{600, 5, controls::normalisedOfStep(compression, 36)},
         {600, 6, controls::normalisedOfStep(output, 24)},
         {2047, 4, controls::normalisedOfStep(time, 2)}});
    EXPECT_TRUE(sameSamples(out, expected));
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

// Values flushed while inactive and values sent with the first block give
// the same render from sample 0.
TEST(ClapAudio, ValuesFlushedBeforeActivationSoundAsInTheFirstBlock) {
    ClapLibrary library;
    const Signal<float> in = converted<float>(burstSignal(2, 12000));
    for (const Setting& setting : {kSettings[1], kSettings[2]})
        for (double oversampling : {0.0, 2.0}) {
            std::vector<std::pair<clapabi::Id, double>> values;
            std::vector<ParamChange> changes;
            for (int c = 0; c < controls::kProgramCount; ++c)
                values.push_back({controls::kControls[c].hostId, setting.values[c]});
            values.push_back({kOversampling, oversampling});
            for (const auto& [id, value] : values) changes.push_back({0, id, value});
            TestClapHost flushed, inBlock;
            ASSERT_NE(flushed.create(library, kStereoId), nullptr);
            ASSERT_NE(inBlock.create(library, kStereoId), nullptr);
            flushValues(flushed, values);
            ASSERT_TRUE(flushed.activate(48000));
            ASSERT_TRUE(inBlock.activate(48000));
            EXPECT_TRUE(sameSamples(renderClap(flushed, in, {512}), renderClap(inBlock, in, {512}, changes)))
                << setting.values[0] << " " << oversampling;
        }
}

TEST(ClapAudio, ResetClearsTheEngineAsDeactivatingAndActivatingDoes) {
    ClapLibrary library;
    const Signal<float> in = converted<float>(burstSignal(2, 8192));
    Signal<float> after[2];
    for (int way = 0; way < 2; ++way) {
        TestClapHost host;
        ASSERT_NE(host.create(library, kStereoId), nullptr);
        ASSERT_TRUE(host.activate(44100));
        renderClap(host, in, {512}, clapChanges(kSettings[2]));
        if (way == 0) {
            host.audio.run([&] { host.plugin->reset(host.plugin); });
        } else {
            host.deactivate();
            ASSERT_TRUE(host.activate(44100));
        }
        after[way] = renderClap(host, in, {512});
    }
    EXPECT_TRUE(sameSamples(after[0], after[1]));
}

TEST(ClapAudio, TheMeterExtensionReadsTheVstPluginsGainReduction) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const auto* meter = host.extension<clapabi::PluginGainAdjustmentMetering>(clapabi::kExtGainAdjustmentMetering);
    ASSERT_NE(meter, nullptr);
    ASSERT_TRUE(host.activate(48000));
    const Signal<float> in = converted<float>(burstSignal(2, 6000));
    const Signal<float> out = renderClap(host, in, {6000});
    ASSERT_FALSE(out.empty());
    // Read while processing, on the audio thread, right after the block.
    double reading = 1.0;
    host.startProcessing();
    Signal<float> again = in;
    host.audio.run([&] {
        processInPlace(host.plugin, again, 0, 6000, InputEventList());
        reading = meter->get(host.plugin);
    });
    host.stopProcessing();
    TestHost vst;
    vst.open();
    vst.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    vst.dispatch(vst2::effMainsChanged, 0, 1);
    for (int pass = 0; pass < 2; ++pass) {
        Signal<float> copy = in, vstOut = in;
        float* inputs[2] = {copy[0].data(), copy[1].data()};
        float* outputs[2] = {vstOut[0].data(), vstOut[1].data()};
        vst.effect->processReplacing(vst.effect, inputs, outputs, 6000);
    }
    double vstGain = -1.0;
    vst.dispatch(vst2::effVendorSpecific, kvbr::kMeterRequestIndex, kvbr::kMeterRequestValue, &vstGain);
    EXPECT_LT(reading, -1.0) << "the bursts are compressed";
    EXPECT_EQ(reading, -static_cast<double>(controls::gainReductionDb(vstGain)));
    // Not processing: no reading.
    host.audio.run([&] { reading = meter->get(host.plugin); });
    EXPECT_EQ(reading, 0.0);
}
