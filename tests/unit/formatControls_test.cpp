// The public controls' mapping onto the VST 2.x parameters and their texts,
// and the bank as the state hosts save, as every format shares them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/Compressor.h"
#include "core/controls.h"
#include "core/pluginState.h"

using controls::Control;
using controls::kControls;
using controls::Id;

namespace {

const Control& port(Id c) { return kControls[static_cast<int>(c)]; }

std::string display(Compressor& effect, int parameter) {
    return effect.parameters().display(parameter);
}

}  // namespace

TEST(Controls, EveryStepDrivesTheParameterValueThatShowsItsTextAndReadsBack) {
    Compressor effect;
    for (const Control& p : kControls) {
        for (int step = 0; step <= p.steps; ++step) {
            const float normalised = controls::normalisedOfStep(p, step);
            effect.parameters().set(p.parameter, normalised);
            const std::string shown = display(effect, p.parameter);
            EXPECT_EQ(shown, controls::textOfStep(p, step)) << p.symbol << " " << step;
            EXPECT_EQ(controls::stepOfText(p, shown), step) << shown;
            EXPECT_EQ(controls::stepOfNormalised(p, normalised), step);
            EXPECT_EQ(controls::stepOf(p, controls::valueOfStep(p, step)), step);
        }
    }
}

TEST(Controls, FactoryPresetsThroughThePortsDriveTheEngineAsTheirPrograms) {
    // Otherwise a factory preset loaded through the ports would sound
    // different from the same program in the VST 2.x plug-in. (Output values
    // such as 0.083 sit beside their step, but the engine takes only the step.)
    Compressor program, ports;
    for (int slot = 1; slot < kBankPrograms; ++slot) {
        program.bank().selectPreset(slot);
        for (const Control& p : kControls) {
            const float stored = program.bank().getBankProgram(slot)->getParam(p.parameter);
            ports.parameters().set(p.parameter,
                                   controls::normalisedOfStep(p, controls::stepOfNormalised(p, stored)));
        }
        const EngineValues viaPorts = ports.parameters().engineValues();
        const EngineValues asProgram = program.parameters().engineValues();
        EXPECT_EQ(viaPorts.processMode, asProgram.processMode) << slot;
        EXPECT_EQ(viaPorts.ratioStep, asProgram.ratioStep) << slot;
        EXPECT_EQ(viaPorts.timeFactor, asProgram.timeFactor) << slot;
        EXPECT_EQ(viaPorts.compressionGain, asProgram.compressionGain) << slot;
        EXPECT_EQ(viaPorts.outputGain, asProgram.outputGain) << slot;
    }
}

TEST(Controls, ValuesSnapToTheNearestStepWithinTheRange) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(controls::stepOf(port(Id::time), 3.74f), 7);
    EXPECT_EQ(controls::stepOf(port(Id::time), 3.75f), 8);
    EXPECT_EQ(controls::stepOf(port(Id::compression), 6.12f), 24);
    EXPECT_EQ(controls::stepOf(port(Id::output), 29.8f), 60);
    EXPECT_EQ(controls::stepOf(port(Id::ratio), 2.5f), 3);
    EXPECT_EQ(controls::stepOf(port(Id::ratio), -3.0f), 0);
    EXPECT_EQ(controls::stepOf(port(Id::process), 7.0f), 2);
    EXPECT_EQ(controls::stepOf(port(Id::output), inf), 60);
    EXPECT_EQ(controls::stepOf(port(Id::output), -inf), 0);
    EXPECT_EQ(controls::stepOf(port(Id::time), nan), 10);  // the default, 5
}

TEST(Controls, GainReductionIsPositiveDecibelsAndNeverNegativeZero) {
    EXPECT_FALSE(std::signbit(controls::gainReductionDb(1.0)));
    EXPECT_EQ(controls::gainReductionDb(1.0), 0.0f);
    EXPECT_EQ(controls::gainReductionDb(1.3), 0.0f);
    EXPECT_NEAR(controls::gainReductionDb(0.5), 6.0206f, 1e-4);
    EXPECT_NEAR(controls::gainReductionDb(0.1), 20.0f, 1e-4);
    EXPECT_EQ(controls::gainReductionDb(0.0), controls::kGainReductionMaximum);
}

TEST(BankState, RoundTripsNamesValuesAndSelection) {
    Compressor edited;
    edited.bank().selectPreset(5);
    edited.bank().renamePreset("My Kick");
    edited.parameters().set(5, 0.8f);
    edited.parameters().set(4, 0.37f);  // between the port's steps: kept exactly
    const auto saved = edited.bank().saveBank();

    Compressor restored;
    ASSERT_EQ(restored.bank().restoreBank(saved, edited.bank().getCurrentPreset()),
              ProgramBank::Restore::ok);
    EXPECT_EQ(restored.bank().saveBank(), saved);
    EXPECT_EQ(restored.bank().getCurrentPreset(), 5);
    char name[kProgramNameLength + 1];
    restored.bank().getBankProgram(0)->getName(name);
    EXPECT_STREQ(name, "My Kick");
    EXPECT_EQ(restored.parameters().get(5), 0.8f);
    EXPECT_EQ(restored.parameters().get(4), 0.37f);
    EXPECT_EQ(restored.parameters().engineValues().compressionGain,
              edited.parameters().engineValues().compressionGain);
    EXPECT_EQ(restored.parameters().engineValues().timeFactor,
              edited.parameters().engineValues().timeFactor);
}

TEST(BankState, AnythingButACompleteBankChangesNothing) {
    Compressor source;
    source.bank().renamePreset("Renamed");
    const auto good = source.bank().saveBank();
    const auto factory = std::make_unique<Compressor>()->bank().saveBank();

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

    Compressor target;
    for (const auto& bytes : bad) {
        EXPECT_NE(target.bank().restoreBank(bytes, 0), ProgramBank::Restore::ok);
        EXPECT_EQ(target.bank().saveBank(), factory);
    }
    for (long selected : {-1L, 33L, std::numeric_limits<long>::max()}) {
        EXPECT_EQ(target.bank().restoreBank(good, selected), ProgramBank::Restore::badSelection);
        EXPECT_EQ(target.bank().saveBank(), factory);
    }
}

TEST(Controls, TextsBetweenStepsAreRefusedUnlessNearestIsAsked) {
    const Control& time = port(Id::time);
    EXPECT_EQ(controls::stepOfText(time, " 5.5 "), 11);
    EXPECT_EQ(controls::stepOfText(port(Id::output), "29.5 dB"), 59);
    EXPECT_EQ(controls::stepOfText(port(Id::process), "valve"), 2);
    EXPECT_EQ(controls::stepOfText(port(Id::ratio), "10"), 6);
    for (const char* bad : {"5.3", "", "five", "5.5x", "nan", "11"})
        EXPECT_FALSE(controls::stepOfText(time, bad)) << bad;
    EXPECT_FALSE(controls::stepOfText(port(Id::ratio), "5:1"));
    EXPECT_EQ(controls::stepOfText(time, "5.3", controls::TextMatch::nearest), 11);
    EXPECT_EQ(controls::stepOfText(time, "99", controls::TextMatch::nearest), 20);
    EXPECT_FALSE(controls::stepOfText(time, "nan", controls::TextMatch::nearest));
}

TEST(PluginState, RoundTripsAndRefusesAnythingElseWithNothingChanged) {
    Compressor edited;
    edited.bank().selectPreset(7);
    edited.bank().renamePreset("Bus Glue");
    edited.parameters().set(4, 0.37f);
    edited.parameters().set(kOversamplingParameter, 1.0f);  // 4x
    const std::vector<unsigned char> saved = pluginState::save(edited.bank(), &edited.parameters());

    Compressor compressor;
    ProgramBank& target = compressor.bank();
    Parameters* settings = &compressor.parameters();
    const std::vector<unsigned char> factory = pluginState::save(target, settings);
    std::vector<std::pair<std::vector<unsigned char>, pluginState::Restore>> bad;
    const std::vector<unsigned char> good(saved.begin(), saved.end());
    bad.push_back({{good.begin(), good.end() - 1}, pluginState::Restore::wrongSize});
    bad.push_back({{good.begin(), good.begin() + 5}, pluginState::Restore::wrongSize});
    bad.push_back({good, pluginState::Restore::notOurs});
    bad.back().first[0] = 'k';
    bad.push_back({good, pluginState::Restore::futureVersion});
    bad.back().first[4] = pluginState::kVersion + 1;
    bad.push_back({good, pluginState::Restore::badSelection});
    bad.back().first[8] = 33;
    bad.push_back({good, pluginState::Restore::damagedBank});
    bad.back().first[pluginState::kHeaderSize] = 'X';
    for (const auto& [bytes, why] : bad) {
        EXPECT_EQ(pluginState::restore(target, settings, bytes), why);
        EXPECT_EQ(pluginState::save(target, settings), factory);
    }
    ASSERT_EQ(pluginState::restore(target, settings, good), pluginState::Restore::ok);
    EXPECT_EQ(pluginState::save(target, settings), saved);
    EXPECT_EQ(target.getCurrentPreset(), 7);
    EXPECT_EQ(compressor.parameters().get(4), 0.37f);
    EXPECT_EQ(compressor.parameters().get(kOversamplingParameter), 1.0f);

    // A block of version 1, saved before there were settings: they take their
    // defaults; without settings to restore, they stay as they are.
    std::vector<unsigned char> older = pluginState::save(edited.bank(), nullptr);
    ASSERT_EQ(older.size(), pluginState::kVersion1Size);
    EXPECT_EQ(older[4], 1);
    ASSERT_EQ(pluginState::restore(target, nullptr, older), pluginState::Restore::ok);
    EXPECT_EQ(compressor.parameters().get(kOversamplingParameter), 1.0f);
    ASSERT_EQ(pluginState::restore(target, settings, older), pluginState::Restore::ok);
    EXPECT_EQ(compressor.parameters().get(kOversamplingParameter), 0.0f);
    EXPECT_EQ(pluginState::save(target, nullptr), older);
    // A later block of this version with settings this one does not know: they are skipped.
    std::vector<unsigned char> longer = saved;
    longer[pluginState::kVersion1Size] = pluginState::kSettingCount + 2;
    longer.insert(longer.end(), {0, 0, 0x80, 0x3F, 0, 0, 0, 0});
    ASSERT_EQ(pluginState::restore(target, settings, longer), pluginState::Restore::ok);
    EXPECT_EQ(pluginState::save(target, settings), saved);
}
