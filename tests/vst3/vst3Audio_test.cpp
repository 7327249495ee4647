// The VST 3 plug-in sounds exactly like the VST 2.x plug-in at the same
// settings, in both widths and layouts, whatever the host's blocks, with
// changes applied at their sample offsets, programs chosen through the
// program parameter, and the bypass blending over to the input; the
// side-chain's bus is the core's key input, and Mix at 0 % is the input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>

#include "core/Compressor.h"
#include "core/programs/CProgram.h"
#include "core/programs/factoryPresets.h"
#include "tests/formats/vstReference.h"
#include "vst3TestHost.h"

using namespace vst3test;

namespace {

const PortSettings kSettings[] = {
    {},                             // Valve, 3:1, 5, 5, 0 dB
    {1, 6, 0, 8.5f, 6},             // Clear, 10:1, fastest
    {2, 0, 10, 2.25f, 12.5f},       // Valve, 1.2:1, slowest
    {0, 4, 3.5f, 7.75f, 30},        // Off
    {1.4f, 2.6f, 6.3f, 4.1f, 3.3f}  // between steps: snapped to 1, 3, 6.5, 4.0, 3.5
};

const std::vector<std::vector<int>> kBlockPatterns = {{1}, {7}, {4096}, {64, 1, 4096, 513, 7, 2, 8192}};

// The settings as a VST 3 host sends them: each control's step / steps.
std::vector<Change> changesFor(const PortSettings& settings, long at = 0) {
    std::vector<Change> changes;
    for (int c = 0; c < controls::kCount; ++c) {
        const controls::Control& control = controls::kControls[c];
        changes.push_back({static_cast<ParamID>(control.hostId), at,
                           static_cast<double>(controls::stepOf(control, settings.value(c))) / control.steps});
    }
    return changes;
}

template <typename Sample>
Buffers<Sample> widened(const Channels& in) {
    Buffers<Sample> out;
    for (const auto& channel : in) out.emplace_back(channel.begin(), channel.end());
    return out;
}

// The VST 2.x plug-in run in pieces, with `between(at)` before each piece
// that starts at a change.
template <typename Sample, typename Between>
Buffers<Sample> referenceInPieces(VstReference& vst, const Buffers<Sample>& in, std::vector<long> cuts,
                                  Between between) {
    Buffers<Sample> out(in.size());
    cuts.push_back(static_cast<long>(in[0].size()));
    long from = 0;
    for (long cut : cuts) {
        if (cut > from) {
            Buffers<Sample> piece;
            for (const auto& channel : in) piece.emplace_back(channel.begin() + from, channel.begin() + cut);
            const Buffers<Sample> done = vst.process(piece, static_cast<int>(cut - from));
            for (size_t c = 0; c < in.size(); ++c) out[c].insert(out[c].end(), done[c].begin(), done[c].end());
        }
        from = cut;
        if (cut < static_cast<long>(in[0].size())) between(cut);
    }
    return out;
}

// The core driven directly as the processor drives it: the rate as it sets
// it, each setting's step, the key as given, a mono layout's channel as both.
template <typename Sample>
Buffers<Sample> coreRun(const Buffers<Sample>& in, const Buffers<Sample>& key, double rate,
                        const std::vector<Change>& settings) {
    Compressor compressor;
    for (const Change& change : settings) {
        const controls::Control& control = *controls::byHostId(change.id);
        const int step = static_cast<int>(std::lround(change.value * control.steps));
        compressor.parameters().set(control.parameter, controls::normalisedOfStep(control, step));
    }
    compressor.setSampleRate(static_cast<float>(rate));
    compressor.resume();
    Buffers<Sample> out(in.size(), std::vector<Sample>(in[0].size()));
    const size_t right = in.size() - 1;
    for (size_t at = 0; at < in[0].size(); at += 512) {
        const auto n = static_cast<Compressor::int32>(std::min<size_t>(512, in[0].size() - at));
        compressor.process(in[0].data() + at, in[right].data() + at, out[0].data() + at, out[right].data() + at, n,
                           key[0].data() + at, key.size() > 1 ? key[1].data() + at : nullptr);
    }
    return out;
}

// Key External with a key on the active side-chain bus sounds as the core
// given that key; with the bus switched off again the key goes unheard, as
// with Key Internal.
template <typename Sample>
void expectTheKeyHeardWhileItsBusIsActive(Module& module, bool mono, double rate) {
    constexpr int32 width = sizeof(Sample) == sizeof(double) ? kSample64 : kSample32;
    const Channels signal = testSignal(2, 24000, 13);
    Buffers<Sample> in, key;
    for (int c = 0; c < (mono ? 1 : 2); ++c) {
        in.emplace_back(signal[c].begin(), signal[c].end());
        // The same signal 4410 samples on: loud where the input is quiet.
        key.emplace_back(signal[c].begin() + 4410, signal[c].end());
        key.back().insert(key.back().end(), signal[c].begin(), signal[c].begin() + 4410);
    }
    const std::vector<Change> external = {{kKeyId, 0, 1.0}, {kSidechainFilterId, 0, 0.5}, {kMixId, 0, 0.8}};
    std::vector<Change> internal = external;
    internal[0].value = 0.0;
    const Buffers<Sample> keyed = coreRun(in, key, rate, external);
    const Buffers<Sample> unkeyed = coreRun(in, key, rate, internal);
    ASSERT_FALSE(sameSamples(keyed, unkeyed)) << "a key the detector hears";
    Instance on(module), off(module);
    ASSERT_EQ(on.component->activateBus(kAudio, kInput, 1, 1), kResultOk);
    ASSERT_TRUE(on.start(rate, mono, width));
    off.component->activateBus(kAudio, kInput, 1, 1);
    off.component->activateBus(kAudio, kInput, 1, 0);
    ASSERT_TRUE(off.start(rate, mono, width));
    EXPECT_TRUE(sameSamples(on.process(in, kBlockPatterns.back(), external, false, &key), keyed));
    EXPECT_TRUE(sameSamples(off.process(in, kBlockPatterns.back(), external, false, &key), unkeyed));
    // Active, but with no channels or with null ones: no key either.
    for (const Buffers<Sample>& unfed : {Buffers<Sample>{}, Buffers<Sample>(in.size())}) {
        Instance plugin(module);
        plugin.component->activateBus(kAudio, kInput, 1, 1);
        ASSERT_TRUE(plugin.start(rate, mono, width));
        EXPECT_TRUE(sameSamples(plugin.process(in, kBlockPatterns.back(), external, false, &unfed), unkeyed));
    }
}

}  // namespace

TEST(Vst3Audio, EqualsTheVstPluginSampleForSample) {
    Module module;
    ASSERT_TRUE(module.valid()) << module.error;
    int pattern = 0;
    for (bool mono : {false, true})
        for (double rate : {44100.0, 96000.0})
            for (const PortSettings& settings : kSettings)
                for (int32 width : {kSample32, kSample64}) {
                    const std::vector<int>& blocks = kBlockPatterns[pattern++ % kBlockPatterns.size()];
                    SCOPED_TRACE(testing::Message() << (mono ? "mono " : "stereo ") << rate << " Hz, "
                                                    << (width == kSample64 ? 64 : 32) << "-bit, process "
                                                    << settings.process << ", first block " << blocks[0]);
                    const Channels in = testSignal(mono ? 1 : 2, static_cast<int>(rate / 4));
                    Instance plugin(module);
                    ASSERT_TRUE(plugin.start(rate, mono, width));
                    VstReference vst(rate, mono);
                    vst.apply(settings);
                    if (width == kSample32) {
                        EXPECT_TRUE(sameSamples(plugin.process(in, blocks, changesFor(settings)), vst.process(in)));
                    } else {
                        const auto wide = widened<double>(in);
                        EXPECT_TRUE(sameSamples(plugin.process(wide, blocks, changesFor(settings)), vst.process(wide)));
                    }
                    EXPECT_EQ(plugin.meter,
                              std::min(1.0, controls::gainReductionDb(vst.meterReading()) / 40.0));
                }
}

// Hosts differ in when they send the controls: flushed before activation,
// flushed after it, or with the first block. Either way the render is the same from sample 0,
// and for the program's controls the VST 2.x plug-in's, set after it resumed.
TEST(Vst3Audio, ControlsFlushedBeforeActivationSoundAsInTheFirstBlock) {
    Module module;
    const Channels in = testSignal(2, 12000, 4);
    PortSettings withOversampling = kSettings[2];
    withOversampling.oversampling = 2;
    for (const PortSettings& settings : {kSettings[1], kSettings[2], withOversampling}) {
        Instance flushed(module), flushedActive(module), inBlock(module);
        ASSERT_EQ(flushed.flush(changesFor(settings)), kResultOk);
        ASSERT_TRUE(flushed.start(48000));
        ASSERT_TRUE(flushedActive.start(48000));
        ASSERT_EQ(flushedActive.flush(changesFor(settings)), kResultOk);
        ASSERT_TRUE(inBlock.start(48000));
        const Channels first = flushed.process(in, {512});
        EXPECT_TRUE(sameSamples(first, flushedActive.process(in, {512})));
        EXPECT_TRUE(sameSamples(first, inBlock.process(in, {512}, changesFor(settings))));
        if (settings.oversampling == 0) {
            VstReference vst(48000, false);
            vst.apply(settings);
            EXPECT_TRUE(sameSamples(first, vst.process(in)));
        }
    }
}

TEST(Vst3Audio, EveryBlockPatternInBothWidthsAndInPlace) {
    Module module;
    const PortSettings settings{2, 5, 1.5f, 9, 2};
    const Channels in = testSignal(2, 30000, 7);
    for (const auto& blocks : kBlockPatterns)
        for (bool inPlace : {false, true}) {
            SCOPED_TRACE(testing::Message() << "first block " << blocks[0] << (inPlace ? " in place" : ""));
            Instance narrow(module), wide(module);
            ASSERT_TRUE(narrow.start(48000, false, kSample32));
            ASSERT_TRUE(wide.start(48000, false, kSample64));
            VstReference vst32(48000, false), vst64(48000, false);
            vst32.apply(settings);
            vst64.apply(settings);
            EXPECT_TRUE(sameSamples(narrow.process(in, blocks, changesFor(settings), inPlace), vst32.process(in)));
            const auto doubles = widened<double>(in);
            EXPECT_TRUE(sameSamples(wide.process(doubles, blocks, changesFor(settings), inPlace), vst64.process(doubles)));
        }
}

TEST(Vst3Audio, ChangesTakeEffectAtTheirSampleOffsets) {
    Module module;
    const Channels in = testSignal(2, 20000, 3);
    // Several changes inside one 4096 block, two at the same sample, one at its last sample.
    const std::vector<Change> changes = {{5, 1000, 30.0 / 40}, {6, 1000, 12.0 / 60}, {2, 1001, 1.0},
                                         {4, 2500, 0.0},       {5, 4095, 5.0 / 40}, {0, 9000, 0.5},
                                         {5, 9001, 1.0},       {5, 12345, 0.25}};
    Instance plugin(module);
    ASSERT_TRUE(plugin.start(48000));
    VstReference vst(48000, false);
    std::vector<long> cuts;
    for (const Change& change : changes)
        if (cuts.empty() || cuts.back() != change.at) cuts.push_back(change.at);
    const Channels expected = referenceInPieces(vst, in, cuts, [&](long at) {
        for (const Change& change : changes)
            if (change.at == at) {
                const controls::Control& control = *controls::byParameter(static_cast<int>(change.id));
                vst.host.effect->setParameter(vst.host.effect, control.parameter,
                                              controls::normalisedOfStep(control, static_cast<int>(std::lround(change.value * control.steps))));
            }
    });
    EXPECT_TRUE(sameSamples(plugin.process(in, {4096}, changes), expected));
}

TEST(Vst3Audio, AFlushCallAppliesChangesAndTouchesNoAudio) {
    Module module;
    const PortSettings settings{1, 6, 2, 9.5f, 4};
    const Channels in = testSignal(2, 10000, 5);
    Instance plugin(module);
    ASSERT_TRUE(plugin.start(48000));
    EXPECT_EQ(plugin.flush(changesFor(settings)), kResultOk);
    VstReference vst(48000, false);
    vst.apply(settings);
    EXPECT_TRUE(sameSamples(plugin.process(in, {512}), vst.process(in)));
    // A block of zero frames with buses whose pointers are null.
    AudioBusBuffers nothing{2, 0, nullptr};
    ProcessData empty{kRealtime, kSample32, 0, 1, 1, &nothing, &nothing, nullptr, nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(plugin.processor->process(&empty), kResultOk);
    float* missing[2] = {nullptr, nullptr};
    AudioBusBuffers inactive{2, 0, reinterpret_cast<void**>(missing)};
    ProcessData nullSamples{kRealtime, kSample32, 256, 1, 1, &inactive, &inactive, nullptr, nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(plugin.processor->process(&nullSamples), kResultOk);
}

TEST(Vst3Audio, ProgramParameterLoadsTheSlotAsSelectingItDoes) {
    Module module;
    const Channels in = testSignal(2, 24000, 9);
    for (int slot : {12, 24, 1}) {
        SCOPED_TRACE(slot);
        Instance plugin(module);
        ASSERT_TRUE(plugin.start(48000));
        VstReference vst(48000, false);
        CProgram program;
        writeFactoryPreset(slot, program);
        // The program arrives mid-block; the VST 2.x plug-in gets the slot's
        // twelve values at the same sample.
        const Channels expected = referenceInPieces(vst, in, {3000}, [&](long) {
            for (int i = 0; i < kProgramParams; ++i) vst.host.effect->setParameter(vst.host.effect, i, program.getParam(i));
        });
        EXPECT_TRUE(sameSamples(plugin.process(in, {4096}, {{kProgramId, 3000, slot / 32.0}}), expected));
        // Hosts learn the controls the program set from the block's output changes.
        std::vector<Change> shown;
        for (const controls::Control& control : std::span(controls::kControls).first(controls::kProgramCount))
            shown.push_back({static_cast<ParamID>(control.parameter), 3000,
                             static_cast<double>(controls::stepOfNormalised(control, program.getParam(control.parameter))) /
                                 control.steps});
        ASSERT_EQ(plugin.reported.size(), shown.size());
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(plugin.reported[i].id, shown[i].id);
            EXPECT_EQ(plugin.reported[i].at, shown[i].at);
            EXPECT_EQ(plugin.reported[i].value, shown[i].value);
        }
        // The state now names the slot as selected.
        const auto state = plugin.saveState();
        ASSERT_GE(state.size(), 12u);
        EXPECT_EQ(state[8], slot);
    }
}

TEST(Vst3Audio, BypassBlendsOverAndThenPassesTheInputUntouched) {
    Module module;
    const double rate = 48000;
    const int fade = 240;  // 5 ms
    const Channels in = testSignal(2, 40000, 11);
    for (bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "mono" : "stereo");
        const Channels input = mono ? Channels{in[0]} : in;
        Instance plugin(module);
        ASSERT_TRUE(plugin.start(rate, mono));
        VstReference vst(rate, mono);
        const Channels wet = vst.process(input);
        const Channels out = plugin.process(input, {1000, 333}, {{kBypassId, 10000, 1.0}, {kBypassId, 25000, 0.0}});
        for (size_t c = 0; c < input.size(); ++c) {
            for (int i = 0; i < 10000; ++i) ASSERT_EQ(out[c][i], wet[c][i]) << i;
            // The blend: every sample lies between the two, moving towards the input.
            double share = 0.0;
            for (int i = 10000; i < 10000 + fade; ++i) {
                const double span = static_cast<double>(input[c][i]) - wet[c][i];
                if (std::fabs(span) < 1e-3) continue;
                const double now = (static_cast<double>(out[c][i]) - wet[c][i]) / span;
                EXPECT_GE(now, share - 1e-4) << i;
                EXPECT_LE(now, 1.0 + 1e-4) << i;
                share = now;
            }
            for (int i = 10000 + fade; i < 25000; ++i) ASSERT_EQ(out[c][i], input[c][i]) << i;
            // The engine ran on meanwhile: back to its output after the blend back.
            for (int i = 25000 + fade; i < 40000; ++i) ASSERT_EQ(out[c][i], wet[c][i]) << i;
        }
    }
}

TEST(Vst3Audio, OddRatesAndNonFiniteInputBehaveAsInTheVstPlugin) {
    Module module;
    for (double rate : {1234.5678, 1.0e6}) {
        Channels in = testSignal(2, 12000);
        in[0][100] = std::numeric_limits<float>::quiet_NaN();
        in[1][5000] = std::numeric_limits<float>::infinity();
        in[0][7000] = -1.0e38f;
        Instance plugin(module);
        ASSERT_TRUE(plugin.start(rate));
        VstReference vst(rate, false);
        const Channels out = plugin.process(in, {512});
        EXPECT_TRUE(sameSamples(out, vst.process(in))) << rate;
        for (const auto& channel : out)
            for (float x : channel) ASSERT_TRUE(std::isfinite(x)) << rate;
    }
}

TEST(Vst3Audio, TheSidechainBusIsTheKeyWhileActive) {
    Module module;
    for (bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "mono" : "stereo");
        // Each width at two of the three rates.
        expectTheKeyHeardWhileItsBusIsActive<float>(module, mono, mono ? 96000.0 : 44100.0);
        expectTheKeyHeardWhileItsBusIsActive<double>(module, mono, mono ? 44100.0 : 48000.0);
    }
}

// Mix at 0 % is the input, bit for bit, whatever the rest (here the valve at
// 4x and 30 dB of Output).
TEST(Vst3Audio, MixAtZeroGivesTheInputBitForBit) {
    Module module;
    const std::vector<Change> dry = {{kMixId, 0, 0.0}, {kOversamplingId, 0, 1.0}, {6, 0, 1.0}};
    for (bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "mono" : "stereo");
        const Channels in = testSignal(mono ? 1 : 2, 20000, 17);
        const auto doubles = widened<double>(in);
        Instance narrow(module), wide(module);
        ASSERT_TRUE(narrow.start(48000, mono, kSample32));
        ASSERT_TRUE(wide.start(48000, mono, kSample64));
        EXPECT_TRUE(sameSamples(narrow.process(in, {333}, dry), in));
        EXPECT_TRUE(sameSamples(wide.process(doubles, {333}, dry), doubles));
    }
}
