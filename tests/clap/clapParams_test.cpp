// The parameters as a host sees them: fixed ids in real units, texts
// both ways, every value snapped to its step, and refusals of what is not
// a parameter or not a number.
#include <cmath>
#include <iterator>
#include <limits>

#include "clapTestSupport.h"
#include "core/controls.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class ClapParams : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(host.create(library, kStereoId), nullptr); }
    void TearDown() override { EXPECT_NO_THREAD_VIOLATIONS(host); }
    std::string text(clapabi::Id id, double value, std::uint32_t capacity = 64) {
        char buffer[64] = "untouched";
        if (!paramsOf(host).valueToText(host.plugin, id, value, buffer, capacity)) return "(refused)";
        return buffer;
    }
    double parsed(clapabi::Id id, const char* text) {
        double value = -99.0;
        return paramsOf(host).textToValue(host.plugin, id, text, &value) ? value : -99.0;
    }
    ClapLibrary library;
    TestClapHost host;
};

}  // namespace

TEST_F(ClapParams, EveryControlWithItsFixedIdInRealUnits) {
    const clapabi::PluginParams& params = paramsOf(host);
    ASSERT_EQ(params.count(host.plugin), static_cast<std::uint32_t>(controls::kCount));
    // Automatable and changed through process; choices stepped and
    // enumerated, Mix stepped in whole percents.
    constexpr std::uint32_t kSmooth = 0x8020, kChoice = 0x18021, kWhole = 0x8021;
    const struct {
        clapabi::Id id;
        const char* name;
        double min, max, defaultValue;
        std::uint32_t flags;
    } expected[] = {{0, "Process", 0, 2, 2, kChoice},
                    {2, "Ratio", 0, 6, 3, kChoice},
                    {4, "Time", 0, 10, 5, kSmooth},
                    {5, "Compression", 0, 10, 5, kSmooth},
                    {6, "Output", 0, 30, 0, kSmooth},
                    {1003, "Oversampling", 0, 2, 0, kChoice},
                    {1004, "Mix", 0, 100, 100, kWhole},
                    {1005, "Sidechain Filter", 0, 4, 0, kChoice},
                    {1006, "Key", 0, 1, 0, kChoice}};
    ASSERT_EQ(std::size(expected), static_cast<std::size_t>(controls::kCount));
    for (std::uint32_t i = 0; i < std::size(expected); ++i) {
        clapabi::ParamInfo info;
        std::memset(&info, 0x55, sizeof info);
        ASSERT_TRUE(params.getInfo(host.plugin, i, &info));
        EXPECT_EQ(info.id, expected[i].id);
        EXPECT_STREQ(info.name, expected[i].name);
        EXPECT_STREQ(info.module, "");
        EXPECT_EQ(info.minValue, expected[i].min);
        EXPECT_EQ(info.maxValue, expected[i].max);
        EXPECT_EQ(info.defaultValue, expected[i].defaultValue);
        EXPECT_EQ(info.flags, expected[i].flags) << info.name;
        // A new instance shows the defaults.
        EXPECT_EQ(valueOf(host, info.id), expected[i].defaultValue) << info.name;
    }
    clapabi::ParamInfo info;
    EXPECT_FALSE(params.getInfo(host.plugin, controls::kCount, &info));
    EXPECT_FALSE(params.getInfo(host.plugin, 0, nullptr));
    double value = 0.0;
    for (clapabi::Id unknown : {1u, 3u, 7u, 11u, 12u, 13u, 99u, 1002u, 1007u, clapabi::kInvalidId})
        EXPECT_FALSE(params.getValue(host.plugin, unknown, &value)) << unknown;
    EXPECT_FALSE(params.getValue(host.plugin, kTime, nullptr));
}

TEST_F(ClapParams, TextsAreTheStepsTextsAndReadBack) {
    EXPECT_EQ(text(kProcess, 0), "Off");
    EXPECT_EQ(text(kProcess, 1), "Clear");
    EXPECT_EQ(text(kProcess, 2), "Valve");
    EXPECT_EQ(text(kRatio, 0), "1.2:1");
    EXPECT_EQ(text(kRatio, 6), "10:1");
    EXPECT_EQ(text(kTime, 6.5), "6.50");
    EXPECT_EQ(text(kCompression, 4.25), "4.25");
    EXPECT_EQ(text(kOutput, 12.5), "12.50");
    EXPECT_EQ(text(kOversampling, 0), "Off");
    EXPECT_EQ(text(kOversampling, 1), "2x");
    EXPECT_EQ(text(kOversampling, 2), "4x");
    EXPECT_EQ(text(kMix, 50), "50%");
    EXPECT_EQ(text(kMix, 0), "0%");
    EXPECT_EQ(text(kSidechainFilter, 3), "150 Hz");
    EXPECT_EQ(text(kKey, 0), "Internal");
    EXPECT_EQ(text(kKey, 1), "External");
    // Between steps, the step the value selects: enumerations truncate as
    // stepped parameters do, the rest go to the nearest step.
    EXPECT_EQ(text(kProcess, 1.9), "Clear");
    EXPECT_EQ(text(kRatio, 2.6), "2:1");
    EXPECT_EQ(text(kMix, 49.7), "49%");
    EXPECT_EQ(text(kSidechainFilter, 4.5), "250 Hz");
    EXPECT_EQ(text(kTime, 6.3), "6.50");
    EXPECT_EQ(text(kCompression, 4.1), "4.00");
    EXPECT_EQ(text(kOutput, 3.3), "3.50");
    // Out of range is clamped; no number and no parameter are refused, and so
    // is a buffer too small for the text.
    EXPECT_EQ(text(kOutput, 1e9), "30.00");
    EXPECT_EQ(text(kTime, -4), "0.00");
    EXPECT_EQ(text(kRatio, std::numeric_limits<double>::infinity()), "10:1");
    EXPECT_EQ(text(kTime, kNaN), "(refused)");
    EXPECT_EQ(text(3, 1.0), "(refused)");
    EXPECT_EQ(text(kOutput, 30, 5), "(refused)");
    EXPECT_EQ(text(kOutput, 30, 6), "30.00");
    EXPECT_EQ(text(kOutput, 30, 0), "(refused)");

    EXPECT_EQ(parsed(kProcess, "valve"), 2.0);
    EXPECT_EQ(parsed(kOversampling, "4X"), 2.0);
    EXPECT_EQ(parsed(kRatio, "4:1"), 4.0);
    EXPECT_EQ(parsed(kRatio, "10"), 6.0);
    EXPECT_EQ(parsed(kTime, "6.50"), 6.5);
    EXPECT_EQ(parsed(kCompression, "4.1"), 4.0);
    EXPECT_EQ(parsed(kOutput, "12.5 dB"), 12.5);
    EXPECT_EQ(parsed(kOutput, "99"), 30.0);
    EXPECT_EQ(parsed(kMix, "50%"), 50.0);
    EXPECT_EQ(parsed(kMix, "35"), 35.0);
    EXPECT_EQ(parsed(kMix, "150 %"), 100.0);
    EXPECT_EQ(parsed(kSidechainFilter, "150 hz"), 3.0);
    EXPECT_EQ(parsed(kKey, "External"), 1.0);
    EXPECT_EQ(parsed(kKey, "on"), -99.0);
    EXPECT_EQ(parsed(kProcess, "loud"), -99.0);
    EXPECT_EQ(parsed(kTime, ""), -99.0);
    for (const char* notANumber : {"nan", "inf", "-inf", "1e999", "-1e999"})
        EXPECT_EQ(parsed(kTime, notANumber), -99.0) << notANumber;
    EXPECT_EQ(parsed(7, "1"), -99.0);
    double value = 0;
    EXPECT_FALSE(paramsOf(host).textToValue(host.plugin, kTime, nullptr, &value));
}

TEST_F(ClapParams, ValuesFromTheHostLandOnSteps) {
    // Inactive: flushed on the main thread, as a host does before activating.
    flushValues(host, {{kProcess, 1.9}, {kRatio, 2.6}, {kTime, 6.3}, {kCompression, 4.1}, {kOutput, 3.3},
                       {kMix, 49.7}, {kSidechainFilter, 2.9}, {kKey, 0.9}});
    EXPECT_EQ(valueOf(host, kMix), 49.0);
    EXPECT_EQ(valueOf(host, kSidechainFilter), 2.0);
    EXPECT_EQ(valueOf(host, kKey), 0.0);
    EXPECT_EQ(valueOf(host, kProcess), 1.0);
    EXPECT_EQ(valueOf(host, kRatio), 2.0);
    EXPECT_EQ(valueOf(host, kTime), 6.5);
    EXPECT_EQ(valueOf(host, kCompression), 4.0);
    EXPECT_EQ(valueOf(host, kOutput), 3.5);
    // Out of range is clamped; a value that is no number, an unknown id,
    // another event space or a short record changes nothing.
    flushValues(host, {{kOutput, -7.0}, {kTime, 1e300}, {kCompression, kNaN}, {3, 2.0}, {99, 1.0},
                       {kMix, 250.0}, {kKey, 7.0}});
    EXPECT_EQ(valueOf(host, kMix), 100.0);
    EXPECT_EQ(valueOf(host, kKey), 1.0);
    EXPECT_EQ(valueOf(host, kOutput), 0.0);
    EXPECT_EQ(valueOf(host, kTime), 10.0);
    EXPECT_EQ(valueOf(host, kCompression), 4.0);
    InputEventList odd;
    clapabi::EventHeader header{sizeof(clapabi::EventParamValue), 0, 1, clapabi::kEventParamValue, 0};
    odd.addRaw(header);  // space 1
    header.spaceId = 0;
    header.size = 20;
    odd.addRaw(header);  // too short for a value
    header.size = sizeof(clapabi::EventParamValue);
    header.type = clapabi::kEventParamMod;
    odd.addRaw(header);
    header.type = clapabi::kEventMidi;
    odd.addRaw(header);
    OutputEventList out;
    paramsOf(host).flush(host.plugin, odd.list(), out.list());
    EXPECT_EQ(valueOf(host, kCompression), 4.0);
    // A flush without lists is harmless.
    paramsOf(host).flush(host.plugin, nullptr, nullptr);
    EXPECT_TRUE(out.seen.empty());
}
