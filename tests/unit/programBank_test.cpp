// The program record, the bank behind the host's single program, the factory
// presets and the write-through of parameter changes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"
#include "editor/presetPanelSync.h"
#include "recordingHost.h"

namespace {

std::string nameOf(CProgram& program) {
    char name[25];
    program.getName(name);
    return name;
}

struct Snapshot {
    std::string names[kBankPrograms];
    float values[kBankPrograms][kProgramParams];
};

Snapshot snapshot(CPresetSystemEffect& effect) {
    Snapshot s;
    for (int j = 0; j < kBankPrograms; ++j) {
        s.names[j] = nameOf(*effect.getBankProgram(j));
        for (int k = 0; k < kProgramParams; ++k)
            s.values[j][k] = effect.getBankProgram(j)->getParam(k);
    }
    return s;
}

}  // namespace

TEST(ProgramRecord, StartsAsInitWithItsDefaults) {
    CProgram program;
    EXPECT_EQ(nameOf(program), "init");
    const float expected[12] = {1.0f, 0, 0, 0, 0.5f, 0.5f, 0, 0, 0, 0, 0, 0};
    for (int k = 0; k < 12; ++k) EXPECT_EQ(program.getParam(k), expected[k]) << k;
}

TEST(ProgramRecord, NamesAreCutAtTwentyFourCharacters) {
    CProgram program;
    program.setName("ABCDEFGHIJKLMNOPQRSTUVWX");  // 24
    EXPECT_EQ(nameOf(program), "ABCDEFGHIJKLMNOPQRSTUVWX");
    program.setName("ABCDEFGHIJKLMNOPQRSTUVWXY");  // 25
    EXPECT_EQ(nameOf(program), "ABCDEFGHIJKLMNOPQRSTUVWX");
    program.setName("ab");
    // The rest of the field is cleared, not left from the longer name.
    for (int i = 2; i < 25; ++i) EXPECT_EQ(program.name[i], 0) << i;
    program.setName(nullptr);
    EXPECT_EQ(nameOf(program), "");

    // A host buffer of exactly 24 characters without a zero is not read past.
    auto unterminated = std::make_unique<char[]>(24);
    std::memset(unterminated.get(), 'z', 24);
    program.setName(unterminated.get());
    EXPECT_EQ(nameOf(program), std::string(24, 'z'));
}

TEST(ProgramRecord, ParameterIndicesAndValueRange) {
    CProgram program;
    EXPECT_EQ(program.getParam(12), -1.0f);
    EXPECT_EQ(program.getParam(-1), -1.0f);
    program.setParam(12, 0.3f);
    program.setParam(-1, 0.3f);
    for (int k = 0; k < 12; ++k) EXPECT_NE(program.getParam(k), 0.3f) << k;
    program.setParam(3, 1.7f);
    EXPECT_EQ(program.getParam(3), 1.0f);
    program.setParam(3, -0.2f);
    EXPECT_EQ(program.getParam(3), 0.0f);
    program.setParam(3, 0.25f);
    program.setParam(3, NAN);
    EXPECT_EQ(program.getParam(3), 0.0f) << "NaN is stored as 0.0";
    program.setParam(3, INFINITY);
    EXPECT_EQ(program.getParam(3), 1.0f);
}

struct Bank : ::testing::Test {
    void SetUp() override {
        platform::headless::memorySettingsStore().clear();
        recordedCalls().clear();
        effect = std::make_unique<AutoComp>(recordingHost);
        recordedCalls().clear();
    }
    CProgram& slot(int j) { return *effect->getBankProgram(j); }
    std::string display(int32 index) {
        char text[32];
        effect->getParameterDisplay(index, text);
        return text;
    }
    std::unique_ptr<AutoComp> effect;
};

TEST_F(Bank, FreshEffectIsTheCurrentProgram) {
    char name[32];
    effect->getProgramName(name);
    EXPECT_STREQ(name, "Current");
    EXPECT_EQ(effect->getProgram(), 0);
    EXPECT_EQ(effect->getCurrentPreset(), 0);
    EXPECT_EQ(effect->getParameter(0), 1.0f);
    EXPECT_EQ(effect->getParameter(2), 0.5f);
    EXPECT_EQ(effect->getParameter(4), 0.5f);
    EXPECT_EQ(effect->getParameter(5), 0.5f);
    EXPECT_EQ(effect->getParameter(6), 0.0f);
    EXPECT_EQ(effect->getParameter(1), 0.0f);
    EXPECT_EQ(effect->getParameter(3), 0.0f);
    EXPECT_EQ(display(0), "Valve");
    EXPECT_EQ(display(2), "3:1");
    EXPECT_EQ(effect->core().parameters().engineValues().processMode, 2);
    EXPECT_EQ(effect->core().parameters().engineValues().ratioStep, 3);
}

TEST_F(Bank, FactoryTable) {
    EXPECT_EQ(nameOf(slot(1)), "Default");
    EXPECT_EQ(nameOf(slot(11)), "Glue Things Together");
    EXPECT_EQ(nameOf(slot(32)), "Bus Comp 3");
    EXPECT_EQ(slot(3).getParam(2), 0.16666667f);
    EXPECT_EQ(slot(4).getParam(2), 0.33333334f);
    EXPECT_EQ(slot(6).getParam(2), 0.6666667f);
    EXPECT_EQ(slot(7).getParam(2), 0.8333333f);
    EXPECT_EQ(slot(12).getParam(5), 0.775f);
    EXPECT_EQ(slot(12).getParam(6), 0.425f);
    EXPECT_EQ(slot(29).getParam(6), 0.083f);
    for (int j = 0; j < kBankPrograms; ++j) {
        EXPECT_LE(nameOf(slot(j)).size(), 24u) << j;
        EXPECT_EQ(slot(j).getParam(0) == 0.5f, j == 24 || j == 30 || j == 31) << j;
        EXPECT_NE(slot(j).getParam(0), 0.0f) << "no factory preset is Off: " << j;
        for (int k : {1, 3, 7, 8, 9, 10, 11}) EXPECT_EQ(slot(j).getParam(k), 0.0f) << j << "/" << k;
        // Every ratio is one of the seven positions exactly.
        const float ratio = slot(j).getParam(2);
        const int step = static_cast<int>(std::lround(ratio * 6.0));
        EXPECT_EQ(ratio, static_cast<float>(step / 6.0)) << j;
    }
    for (int k = 0; k < kProgramParams; ++k) EXPECT_EQ(slot(0).getParam(k), slot(1).getParam(k));
}

TEST_F(Bank, SlotThreeShowsTheSecondRatio) {
    effect->selectPreset(3);
    EXPECT_EQ(effect->getParameter(2), 0.16666667f);
    EXPECT_EQ(effect->core().parameters().engineValues().ratioStep, 1);
    EXPECT_EQ(display(2), "1.5:1");
}

TEST_F(Bank, SelectionCopiesIntoSlotZeroAndLaterChangesGoToBothOnly) {
    const Snapshot before = snapshot(*effect);
    effect->selectPreset(5);
    EXPECT_EQ(effect->getCurrentPreset(), 5);
    EXPECT_EQ(nameOf(slot(0)), "CompressMed2");
    for (int k = 0; k < kProgramParams; ++k) {
        EXPECT_EQ(slot(0).getParam(k), before.values[5][k]) << k;
        EXPECT_EQ(effect->getParameter(k), before.values[5][k]) << k;
    }
    EXPECT_EQ(countRecorded(vst2::audioMasterUpdateDisplay), 1);

    char name[32];
    effect->getProgramName(name);
    EXPECT_STREQ(name, "CompressMed2");
    EXPECT_EQ(effect->getProgram(), 0);
    std::memset(name, '#', sizeof(name));
    EXPECT_FALSE(effect->getProgramNameIndexed(0, 1, name));
    EXPECT_EQ(name[0], '#') << "untouched";
    EXPECT_TRUE(effect->getProgramNameIndexed(7, 0, name));
    EXPECT_STREQ(name, "CompressMed2");

    // A knob turn (here host automation through the record) lands in 5 and 0 only.
    effect->getAeffect()->setParameter(effect->getAeffect(), 5, 0.9f);
    EXPECT_EQ(slot(5).getParam(5), 0.9f);
    EXPECT_EQ(slot(0).getParam(5), 0.9f);
    const Snapshot after = snapshot(*effect);
    for (int j = 1; j < kBankPrograms; ++j) {
        if (j == 5) continue;
        EXPECT_EQ(after.names[j], before.names[j]) << j;
        for (int k = 0; k < kProgramParams; ++k)
            EXPECT_EQ(after.values[j][k], before.values[j][k]) << j;
    }
}

TEST_F(Bank, WriteThroughStoresTheClampedValue) {
    effect->selectPreset(9);
    effect->setParameter(6, 1.5f);
    EXPECT_EQ(slot(9).getParam(6), 1.0f);
    EXPECT_EQ(slot(0).getParam(6), 1.0f);
    effect->setParameter(4, NAN);
    EXPECT_EQ(slot(9).getParam(4), 0.0f);
    effect->setParameter(12, 0.7f);  // no such parameter: nothing anywhere
    EXPECT_EQ(slot(9).getParam(12), -1.0f);
}

TEST_F(Bank, SetProgramReappliesSlotZeroAndKeepsTheSelection) {
    effect->selectPreset(9);
    slot(0).setParam(4, 0.9f);  // slot 0 edited behind the engine's back
    recordedCalls().clear();
    effect->setProgram(0);
    EXPECT_EQ(effect->getParameter(4), 0.9f);
    EXPECT_EQ(effect->getCurrentPreset(), 9);
    EXPECT_EQ(slot(9).getParam(4), 0.9f) << "written through into the selected preset";
    EXPECT_TRUE(recordedCalls().empty()) << "no gesture is reported for a program change";
}

TEST_F(Bank, HostRenameCutsAndShowsInThePanel) {
    effect->selectPreset(7);
    FakePresetPanel panel;
    PresetPanelSync shows(&effect->bank(), panel);
    shows.shown();
    effect->setProgramName(const_cast<char*>("A name of thirty characters!!!"));
    shows.update();  // the panel's next idle
    const std::string cut = "A name of thirty charact";
    EXPECT_EQ(nameOf(slot(7)), cut);
    EXPECT_EQ(nameOf(slot(0)), cut);
    EXPECT_EQ(nameOf(slot(6)), "CompressHeavy1");
    ASSERT_EQ(panel.events.size(), 1u);
    EXPECT_EQ(panel.events[0], "display " + cut);
}

TEST_F(Bank, EditorRenameOfSlotZeroRenamesOnlySlotZero) {
    effect->renamePreset("Mine");
    EXPECT_EQ(nameOf(slot(0)), "Mine");
    EXPECT_EQ(nameOf(slot(1)), "Default");
    EXPECT_EQ(countRecorded(vst2::audioMasterUpdateDisplay), 1);
}

TEST_F(Bank, SelectionOutsideTheBankIsIgnored) {
    effect->selectPreset(5);
    recordedCalls().clear();
    effect->selectPreset(33);
    effect->selectPreset(-1);
    EXPECT_EQ(effect->getCurrentPreset(), 5);
    EXPECT_TRUE(recordedCalls().empty());
    EXPECT_EQ(effect->getBankProgram(33), nullptr);
}
