// The A/B memories on the in-memory settings store.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"
#include "editor/presetPanelSync.h"
#include "recordingHost.h"

using platform::headless::MemorySettingsStore;
using platform::headless::memorySettingsStore;

namespace {

const char* kMemoA = "SOFTWARE\\Korvane\\KVBRS1\\MemoA";
const char* kMemoB = "SOFTWARE\\Korvane\\KVBRS1\\MemoB";

std::string nameOf(CPresetSystemEffect& effect, int slot) {
    char name[25];
    effect.getBankProgram(slot)->getName(name);
    return name;
}

void putFloat(const char* key, const char* name, float value) {
    memorySettingsStore().putValue(key, name, platform::kSettingsBinary, &value, 4);
}

void putName(const char* key, const std::string& name) {
    memorySettingsStore().putValue(key, "name", platform::kSettingsString, name.c_str(),
                                   static_cast<std::uint32_t>(name.size() + 1));
}

}  // namespace

struct Memories : ::testing::Test {
    void SetUp() override {
        memorySettingsStore().clear();
        recordedCalls().clear();
        effect = std::make_unique<AutoComp>(recordingHost);
        recordedCalls().clear();
    }
    std::unique_ptr<AutoComp> effect;
};

TEST_F(Memories, StoredLayout) {
    effect->selectPreset(12);
    effect->setParameter(3, 0.25f);
    EXPECT_EQ(effect->storeMemoA(), platform::kSettingsOk);
    MemorySettingsStore::Value v;
    ASSERT_TRUE(memorySettingsStore().getValue(kMemoA, "param  3", v));
    EXPECT_EQ(v.type, platform::kSettingsBinary);
    ASSERT_EQ(v.bytes.size(), 4u);
    float f;
    std::memcpy(&f, v.bytes.data(), 4);
    EXPECT_EQ(f, 0.25f);
    EXPECT_TRUE(memorySettingsStore().getValue(kMemoA, "param  0", v));
    EXPECT_TRUE(memorySettingsStore().getValue(kMemoA, "param 11", v));
    EXPECT_FALSE(memorySettingsStore().getValue(kMemoA, "param 12", v));
    EXPECT_FALSE(memorySettingsStore().getValue(kMemoA, "param3", v));
    ASSERT_TRUE(memorySettingsStore().getValue(kMemoA, "name", v));
    EXPECT_EQ(v.type, platform::kSettingsString);
    EXPECT_EQ(std::string(v.bytes.begin(), v.bytes.end()), std::string("Hats Smasher", 13))
        << "characters and their terminating zero";
    EXPECT_FALSE(memorySettingsStore().hasKey(kMemoB));
}

TEST_F(Memories, StoreChangeRecallBringsEverythingBack) {
    effect->selectPreset(20);
    for (int k = 0; k < 12; ++k) effect->setParameter(k, 0.05f * static_cast<float>(k + 1));
    effect->storeMemoB();
    float stored[12];
    for (int k = 0; k < 12; ++k) stored[k] = effect->getParameter(k);
    for (int k = 0; k < 12; ++k) effect->setParameter(k, 0.9f);
    effect->renamePreset("changed");
    recordedCalls().clear();

    effect->recallMemoB();
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(effect->getParameter(k), stored[k]) << k;
        EXPECT_EQ(effect->getBankProgram(20)->getParam(k), stored[k]) << k;
        EXPECT_EQ(effect->getBankProgram(0)->getParam(k), stored[k]) << k;
    }
    EXPECT_EQ(nameOf(*effect, 20), "Snare Piccolo Top 1");
    EXPECT_EQ(nameOf(*effect, 0), "Snare Piccolo Top 1");
    EXPECT_EQ(effect->getCurrentPreset(), 20) << "a recall never changes the selection";
    // Twelve automations and one display update, with no edit brackets.
    ASSERT_EQ(recordedCalls().size(), 13u);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(recordedCalls()[k].opcode, vst2::audioMasterAutomate);
        EXPECT_EQ(recordedCalls()[k].index, k);
        EXPECT_EQ(recordedCalls()[k].opt, stored[k]);
    }
    EXPECT_EQ(recordedCalls()[12].opcode, vst2::audioMasterUpdateDisplay);
}

TEST_F(Memories, RecallOfANeverStoredMemoryChangesNothing) {
    effect->selectPreset(4);
    recordedCalls().clear();
    EXPECT_NE(effect->recallMemoB(), platform::kSettingsOk);
    EXPECT_EQ(effect->getParameter(6), 0.15f);
    EXPECT_EQ(nameOf(*effect, 0), "CompressMed1");
    EXPECT_TRUE(recordedCalls().empty());
}

TEST_F(Memories, OneInstanceStoresAnotherRecalls) {
    effect->selectPreset(28);
    effect->storeMemoA();
    AutoComp other(recordingHost);
    other.selectPreset(2);
    other.recallMemoA();
    EXPECT_EQ(other.getParameter(5), 0.675f);
    EXPECT_EQ(other.getParameter(4), 0.15f);
    EXPECT_EQ(nameOf(other, 2), "Loud Bass");
    EXPECT_EQ(nameOf(other, 0), "Loud Bass");
}

TEST_F(Memories, LongStoredNameIsCut) {
    effect->storeMemoA();
    putName(kMemoA, "This name has thirty chars.xyz");
    FakePresetPanel panel;
    PresetPanelSync shows(&effect->bank(), panel);
    shows.shown();
    effect->recallMemoA();
    shows.update();  // the panel's next idle
    EXPECT_EQ(nameOf(*effect, 0), "This name has thirty cha");
    ASSERT_FALSE(panel.events.empty());
    EXPECT_EQ(panel.events.back(), "display This name has thirty cha");
}

TEST_F(Memories, DamagedValuesAreSkipped) {
    effect->storeMemoA();
    effect->selectPreset(10);  // Leveller: Time 0.8, Compression 0.75, Output 0.3
    // A missing value, a wrong size, a NaN, and a name without its zero.
    memorySettingsStore().eraseValue(kMemoA, "param  4");
    double eight = 0.125;
    memorySettingsStore().putValue(kMemoA, "param  5", platform::kSettingsBinary, &eight, 8);
    putFloat(kMemoA, "param  6", NAN);
    memorySettingsStore().putValue(kMemoA, "name", platform::kSettingsString, "abc", 3);
    recordedCalls().clear();
    effect->recallMemoA();
    EXPECT_EQ(effect->getParameter(4), 0.8f) << "missing: kept";
    EXPECT_EQ(effect->getParameter(5), 0.75f) << "8 bytes: kept";
    EXPECT_EQ(effect->getParameter(6), 0.0f) << "NaN: stored as 0.0";
    EXPECT_EQ(effect->getParameter(2), 0.5f) << "the other values are applied";
    EXPECT_EQ(nameOf(*effect, 0), "Leveller") << "no terminating zero: name kept";
    EXPECT_EQ(countRecorded(vst2::audioMasterAutomate), 10);
    for (const auto& call : recordedCalls()) EXPECT_FALSE(std::isnan(call.opt));

    // A name longer than the 64 bytes read, and a missing name, leave it too.
    putName(kMemoA, std::string(80, 'n'));
    effect->recallMemoA();
    EXPECT_EQ(nameOf(*effect, 0), "Leveller");
    memorySettingsStore().eraseValue(kMemoA, "name");
    effect->recallMemoA();
    EXPECT_EQ(nameOf(*effect, 0), "Leveller");
    // 63 characters and the zero fit exactly.
    putName(kMemoA, std::string(63, 'm'));
    effect->recallMemoA();
    EXPECT_EQ(nameOf(*effect, 0), std::string(24, 'm'));
}

TEST_F(Memories, StoreWithoutWriteAccessWritesNothing) {
    memorySettingsStore().setWritable(false);
    EXPECT_NE(effect->storeMemoA(), platform::kSettingsOk);
    EXPECT_FALSE(memorySettingsStore().hasKey(kMemoA));
    memorySettingsStore().setWritable(true);
}
