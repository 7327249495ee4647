// The renderer's host side: what it tells an effect, what it answers it,
// shells, and finding a value by the text an effect shows.
#include <gtest/gtest.h>

#include <cmath>

#include "builtInEffect.h"
#include "core/controls.h"
#include "pluginHost.h"
#include "renderTestSupport.h"
#include "settings.h"
#include "tests/host/TestHost.h"
#include "toolError.h"

using render::PluginHost;

namespace {

const std::string kFixtures = KVBR_FIXTURE_DIR;

// The fixture's parameters show what it was told; see fixturePlugin.cpp.
double seen(PluginHost& host, const std::string& name) {
    return std::stod(host.parameterDisplay(render::findParameter(host, name)));
}

// One block of a constant, or of a 100 Hz tone of that amplitude at 48 kHz.
std::vector<double> processOnce(PluginHost& host, int channels, int frames, double value,
                                bool tone = false) {
    std::vector<std::vector<double>> in(channels, std::vector<double>(frames, value));
    if (tone)
        for (auto& channel : in)
            for (int i = 0; i < frames; ++i) channel[i] = value * std::sin(2.0 * M_PI * 100.0 * i / 48000.0);
    std::vector<std::vector<double>> out(channels, std::vector<double>(frames, -9.0));
    std::vector<const double*> inPtr;
    std::vector<double*> outPtr;
    for (int c = 0; c < channels; ++c) {
        inPtr.push_back(in[c].data());
        outPtr.push_back(out[c].data());
    }
    host.process(inPtr, outPtr, frames);
    std::vector<double> flat;
    for (auto& o : out) flat.insert(flat.end(), o.begin(), o.end());
    return flat;
}

}  // namespace

TEST(PluginHost, TellsTheEffectRateBlockLayoutAndPrecision) {
    PluginHost host(kFixtures + "/kvbr_fixture_gain.so");
    EXPECT_EQ(host.identity().effectName, "Fixture Gain");
    EXPECT_EQ(host.identity().vendor, "Fixture Works");
    EXPECT_EQ(host.identity().uniqueIDText(), "FxGn");
    EXPECT_FALSE(host.identity().canDouble);
    EXPECT_FALSE(host.isKorvaneBrassel());
    EXPECT_EQ(seen(host, "Version"), 2400);

    host.start(96000.0, 300, 1, false);
    EXPECT_EQ(seen(host, "Rate"), 96000);
    EXPECT_EQ(seen(host, "Block"), 300);
    EXPECT_EQ(seen(host, "Layout"), 1);
    EXPECT_EQ(seen(host, "Precision"), 0);
    EXPECT_EQ(seen(host, "Running"), 1);

    // Unity gain; the mono input reaches the effect, its first output comes back.
    const std::vector<double> out = processOnce(host, 1, 300, 0.5);
    for (double s : out) ASSERT_EQ(s, 0.5);
    EXPECT_EQ(seen(host, "Level"), 4) << "an offline host says so";
    processOnce(host, 1, 200, 0.5);
    EXPECT_EQ(seen(host, "Position"), 300) << "the transport counts the frames processed before the block";
    EXPECT_FALSE(host.meterReading().has_value());

    host.stop();
    EXPECT_EQ(seen(host, "Running"), 0);
    EXPECT_THROW(host.start(48000.0, 64, 2, true), render::UsageError) << "no 64-bit processing";
}

TEST(PluginHost, OpensTheFirstEffectOfAShell) {
    PluginHost host(kFixtures + "/kvbr_fixture_shell.so");
    EXPECT_EQ(host.identity().shellMember, "Half Gain");
    EXPECT_EQ(host.identity().uniqueIDText(), "HlfG");
    host.start(48000.0, 64, 2, false);
    for (double s : processOnce(host, 2, 64, 0.5)) ASSERT_EQ(s, 0.25);
}

TEST(PluginHost, RefusesWhatCannotBeHosted) {
    EXPECT_THROW(PluginHost(kFixtures + "/kvbr_fixture_null.so"), render::ToolError);
    EXPECT_THROW(PluginHost(kFixtures + "/kvbr_fixture_noentry.so"), render::ToolError);
    EXPECT_THROW(PluginHost("/nonexistent/plugin.so"), render::ToolError);
}

TEST(PluginHost, ReadsKorvaneBrasselsMeter) {
    ScratchConfigHome config;
    PluginHost host(KVBR_PLUGIN_PATH);
    ASSERT_TRUE(host.isKorvaneBrassel());
    EXPECT_TRUE(host.identity().canDouble);
    host.setParameter(0, 1.0f);
    host.setParameter(5, 1.0f);
    host.start(48000.0, 512, 2, true);
    ASSERT_EQ(host.meterReading().value_or(-1.0), 1.0) << "at rest before any audio";
    for (int i = 0; i < 100; ++i) processOnce(host, 2, 480, 0.8, true);
    const double reading = host.meterReading().value_or(-1.0);
    EXPECT_GT(reading, 0.0);
    EXPECT_LT(reading, 0.5);
}

// Display texts to values: exactly the value the editor's knob gives for that
// step, so a render sounds as the plug-in does in a host.
TEST(FindValueForDisplay, LandsOnTheKnobsValueForTheStep) {
    ScratchConfigHome config;
    PluginHost host(KVBR_PLUGIN_PATH);
    struct Case {
        const char* name;
        const char* text;
        float knob;
        const char* shown;
    };
    const Case cases[] = {
        {"Ratio", "4:1", 4.0f / 6.0f, "4:1"},
        {"Ratio", "10:1", 1.0f, "10:1"},
        {"Compression", "6.5", 26.0f / 40.0f, "6.50"},
        {"Compression", "0", 0.0f, "0.00"},
        {"Output", "12", 24.0f / 60.0f, "12.00"},
        {"Time", "5.5", 11.0f / 20.0f, "5.50"},
        {"process", "VALVE", 1.0f, "Valve"},
        {"Process", "Clear", 0.5f, "Clear"},
    };
    for (const Case& c : cases) {
        const int index = render::findParameter(host, c.name);
        EXPECT_EQ(render::findValueForDisplay(host, index, c.text), c.knob) << c.name << "=" << c.text;
        EXPECT_EQ(host.getParameter(index), c.knob);
        EXPECT_EQ(host.parameterDisplay(index), c.shown);
    }
    EXPECT_THROW(render::findValueForDisplay(host, 2, "5:1"), render::UsageError);
    EXPECT_THROW(render::findValueForDisplay(host, 5, "6.3"), render::UsageError);
    EXPECT_THROW(render::findParameter(host, " "), render::UsageError) << "blank names are no names";
}

TEST(FindValueForDisplay, SettingByIndexTakesTheNumberAsIs) {
    ScratchConfigHome config;
    PluginHost host(KVBR_PLUGIN_PATH);
    EXPECT_EQ(render::applySetting(host, "6=0.25").value, 0.25f);
    EXPECT_EQ(host.getParameter(6), 0.25f);
    const render::AppliedSetting byText = render::applySetting(host, "2=6:1");
    EXPECT_EQ(byText.index, 2);
    EXPECT_EQ(host.parameterDisplay(2), "6:1");
}

// The compressor built in finds its controls in the core's table, so that a
// control no VST 2.x parameter shows is reachable by name all the same.
TEST(FindValueForDisplay, TheBuiltInCompressorTakesEveryControlOfTheCoreByName) {
    const auto effect = std::make_unique<render::BuiltInEffect>();
    for (const controls::Control& control : controls::kControls) {
        const int step = control.steps / 2 + 1;
        const render::AppliedSetting applied = render::applySetting(
            *effect, std::string(" ") + control.name + " =" + controls::textOfStep(control, step));
        EXPECT_EQ(applied.index, control.parameter) << control.name;
        EXPECT_EQ(applied.value, controls::normalisedOfStep(control, step)) << control.name;
        EXPECT_EQ(effect->getParameter(control.parameter), applied.value) << control.name;
    }
}
