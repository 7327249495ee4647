// The LV2 ports' mapping onto the VST 2.x parameters, and the bank as the
// state LV2 hosts save.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "lv2/bankState.h"
#include "lv2/ports.h"
#include "plugin/AutoComp.h"
#include "plugin/parameterTexts.h"

using lv2ports::ControlPort;
using lv2ports::kControls;

namespace {

const ControlPort& port(lv2ports::Control c) { return kControls[static_cast<int>(c)]; }

std::string display(AutoComp& effect, int parameter) {
    char text[32] = {};
    effect.getParameterDisplay(parameter, text);
    return text;
}

// The text a port's step stands for, as hosts show it from the description.
std::string portText(const ControlPort& p, int step) {
    if (p.control == lv2ports::Control::process) return lv2ports::kProcessLabels[step];
    if (p.control == lv2ports::Control::ratio) return lv2ports::kRatioLabels[step];
    return formatFixed2(lv2ports::valueOfStep(p, step));
}

}  // namespace

TEST(Lv2Ports, EveryStepDrivesTheParameterValueThatShowsItsText) {
    AutoComp effect(nullptr);
    for (const ControlPort& p : kControls) {
        for (int step = 0; step <= p.steps; ++step) {
            const float normalised = lv2ports::normalisedOfStep(p, step);
            effect.setParameter(p.parameter, normalised);
            EXPECT_EQ(display(effect, p.parameter), portText(p, step)) << p.symbol << " " << step;
            EXPECT_EQ(lv2ports::stepOfNormalised(p, normalised), step);
            EXPECT_EQ(lv2ports::stepOf(p, lv2ports::valueOfStep(p, step)), step);
        }
    }
}

TEST(Lv2Ports, FactoryPresetsThroughThePortsDriveTheEngineAsTheirPrograms) {
    // Otherwise a factory preset loaded through the ports would sound
    // different from the same program in the VST 2.x plug-in. (Output values
    // such as 0.083 sit beside their step, but the engine takes only the step.)
    AutoComp program(nullptr), ports(nullptr);
    for (int slot = 1; slot < kBankPrograms; ++slot) {
        program.selectPreset(slot);
        for (const ControlPort& p : kControls) {
            const float stored = program.getBankProgram(slot)->getParam(p.parameter);
            ports.setParameter(p.parameter,
                               lv2ports::normalisedOfStep(p, lv2ports::stepOfNormalised(p, stored)));
        }
        EXPECT_EQ(ports.getProcessMode(), program.getProcessMode()) << slot;
        EXPECT_EQ(ports.getRatioStep(), program.getRatioStep()) << slot;
        EXPECT_EQ(ports.getTimeFactor(), program.getTimeFactor()) << slot;
        EXPECT_EQ(ports.getCompressionGain(), program.getCompressionGain()) << slot;
        EXPECT_EQ(ports.getOutputGain(), program.getOutputGain()) << slot;
    }
}

TEST(Lv2Ports, ValuesSnapToTheNearestStepWithinTheRange) {
    using lv2ports::Control;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(lv2ports::stepOf(port(Control::time), 3.74f), 7);
    EXPECT_EQ(lv2ports::stepOf(port(Control::time), 3.75f), 8);
    EXPECT_EQ(lv2ports::stepOf(port(Control::compression), 6.12f), 24);
    EXPECT_EQ(lv2ports::stepOf(port(Control::output), 29.8f), 60);
    EXPECT_EQ(lv2ports::stepOf(port(Control::ratio), 2.5f), 3);
    EXPECT_EQ(lv2ports::stepOf(port(Control::ratio), -3.0f), 0);
    EXPECT_EQ(lv2ports::stepOf(port(Control::process), 7.0f), 2);
    EXPECT_EQ(lv2ports::stepOf(port(Control::output), inf), 60);
    EXPECT_EQ(lv2ports::stepOf(port(Control::output), -inf), 0);
    EXPECT_EQ(lv2ports::stepOf(port(Control::time), nan), 10);  // the default, 5
}

TEST(Lv2Ports, GainReductionIsPositiveDecibelsAndNeverNegativeZero) {
    EXPECT_FALSE(std::signbit(lv2ports::gainReductionDb(1.0)));
    EXPECT_EQ(lv2ports::gainReductionDb(1.0), 0.0f);
    EXPECT_EQ(lv2ports::gainReductionDb(1.3), 0.0f);
    EXPECT_NEAR(lv2ports::gainReductionDb(0.5), 6.0206f, 1e-4);
    EXPECT_NEAR(lv2ports::gainReductionDb(0.1), 20.0f, 1e-4);
    EXPECT_EQ(lv2ports::gainReductionDb(0.0), lv2ports::kGainReductionMaximum);
}

TEST(Lv2BankState, RoundTripsNamesValuesAndSelection) {
    AutoComp edited(nullptr);
    edited.selectPreset(5);
    edited.renamePreset("My Kick");
    edited.setParameter(5, 0.8f);
    edited.setParameter(4, 0.37f);  // between the port's steps: kept exactly
    const auto saved = bankState::saveBank(edited);

    AutoComp restored(nullptr);
    ASSERT_EQ(bankState::restoreBank(restored, saved, edited.getCurrentPreset()),
              bankState::Restore::ok);
    EXPECT_EQ(bankState::saveBank(restored), saved);
    EXPECT_EQ(restored.getCurrentPreset(), 5);
    char name[kProgramNameLength + 1];
    restored.getBankProgram(0)->getName(name);
    EXPECT_STREQ(name, "My Kick");
    EXPECT_EQ(restored.getParameter(5), 0.8f);
    EXPECT_EQ(restored.getParameter(4), 0.37f);
    EXPECT_EQ(restored.getCompressionGain(), edited.getCompressionGain());
    EXPECT_EQ(restored.getTimeFactor(), edited.getTimeFactor());
}

TEST(Lv2BankState, AnythingButACompleteBankChangesNothing) {
    AutoComp source(nullptr);
    source.renamePreset("Renamed");
    const auto good = bankState::saveBank(source);
    const auto factory = bankState::saveBank(*std::make_unique<AutoComp>(nullptr));

    std::vector<std::vector<unsigned char>> bad;
    bad.emplace_back(good.begin(), good.end() - 1);  // short
    bad.emplace_back(good.begin(), good.end());
    bad.back().push_back(0);  // longer: not our layout
    bad.emplace_back(good.begin(), good.end());
    bad.back()[0] = 'X';  // magic
    bad.emplace_back(good.begin(), good.end());
    bad.back()[4] = '!';  // a preset's kind
    bad.emplace_back(4325, 0);  // an older names-only bank
    std::memcpy(bad.back().data(), "rBvK7", 5);
    bad.emplace_back();  // empty

    AutoComp target(nullptr);
    for (const auto& bytes : bad) {
        EXPECT_NE(bankState::restoreBank(target, bytes, 0), bankState::Restore::ok);
        EXPECT_EQ(bankState::saveBank(target), factory);
    }
    for (long selected : {-1L, 33L, 1L << 40}) {
        EXPECT_EQ(bankState::restoreBank(target, good, selected),
                  bankState::Restore::badSelection);
        EXPECT_EQ(bankState::saveBank(target), factory);
    }
}
