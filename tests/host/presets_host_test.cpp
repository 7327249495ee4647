// The program bank as a host sees it through the built plug-in: program names,
// the edit gestures of a preset selection, and the A/B memories kept in the
// Linux settings files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestHost.h"
#include "formats/vst2/CPresetSystemEffect.h"

using namespace vst2;

namespace {

// The editor's panel reaches these operations; a test reaches them through
// the effect object's virtual table, as the editor inside the library will.
CPresetSystemEffect* presetSystem(AEffect* effect) {
    return static_cast<CPresetSystemEffect*>(static_cast<AudioEffect*>(effect->object));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PresetHost : ::testing::Test {
    ScratchConfigHome config;
    TestHost host;
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }
    float get(int32 index) { return host.effect->getParameter(host.effect, index); }
};

}  // namespace

TEST_F(PresetHost, OneProgramNamedCurrent) {
    EXPECT_EQ(host.text(effGetProgramName), "Current");
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    char name[64] = "untouched";
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
    EXPECT_STREQ(name, "Current");
    std::strcpy(name, "untouched");
    EXPECT_EQ(host.dispatch(effGetProgramNameIndexed, 1, 0, name), 0);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(get(0), 1.0f);
    EXPECT_EQ(get(2), 0.5f);
    EXPECT_EQ(get(4), 0.5f);
    EXPECT_EQ(get(5), 0.5f);
    EXPECT_EQ(get(6), 0.0f);

    char longName[] = "A program name of 30 chars ok.";
    host.dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(host.text(effGetProgramName), "A program name of 30 cha");
}

TEST_F(PresetHost, SelectionIsOneEditGesturePerParameter) {
    CPresetSystemEffect* presets = presetSystem(host.effect);
    CProgram* slot5 = presets->getBankProgram(5);
    ASSERT_NE(slot5, nullptr);
    slot5->setParam(9, 0.75f);  // an unnamed parameter travels too
    host.calls.clear();
    presets->selectPreset(5);

    ASSERT_EQ(host.calls.size(), 12u * 4u + 1u);
    for (int32 i = 0; i < 12; ++i) {
        const float v = slot5->getParam(i);
        const HostCall* c = &host.calls[4 * i];
        EXPECT_EQ(c[0].opcode, audioMasterBeginEdit) << i;
        EXPECT_EQ(c[1].opcode, audioMasterAutomate) << i;
        EXPECT_EQ(c[2].opcode, audioMasterAutomate) << i;
        EXPECT_EQ(c[3].opcode, audioMasterEndEdit) << i;
        for (int j = 0; j < 4; ++j) EXPECT_EQ(c[j].index, i);
        EXPECT_EQ(c[0].opt, 0.0f);
        EXPECT_EQ(c[1].opt, v) << i;
        EXPECT_EQ(c[2].opt, v) << i;
        EXPECT_EQ(c[3].opt, 0.0f);
        EXPECT_EQ(get(i), v) << i;
    }
    EXPECT_EQ(host.calls.back().opcode, audioMasterUpdateDisplay);
    EXPECT_EQ(host.text(effGetProgramName), "CompressMed2");
    EXPECT_EQ(host.dispatch(effGetProgram), 0);

    // The host's program change re-applies slot 0 quietly.
    host.calls.clear();
    host.effect->setParameter(host.effect, 6, 0.5f);
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(get(6), 0.5f);
    EXPECT_EQ(slot5->getParam(6), 0.5f) << "the knob change reached the selected preset";
    EXPECT_EQ(presets->getBankProgram(4)->getParam(6), 0.15f);
    EXPECT_TRUE(host.calls.empty());
}

TEST(PresetMemoryFiles, TwoInstancesShareTheMemoriesThroughTheSettingsFiles) {
    ScratchConfigHome config;
    const std::string file = config.path() + "/Korvane/KVBRS1/MemoA";
    TestHost first, second;
    ASSERT_NE(first.open(), nullptr);
    ASSERT_NE(second.open(), nullptr);

    presetSystem(first.effect)->selectPreset(28);  // "Loud Bass"
    first.effect->setParameter(first.effect, 3, 0.25f);
    EXPECT_EQ(presetSystem(first.effect)->storeMemoA(), 0);
    const std::string text = readFile(file);
    EXPECT_NE(text.find("binary 0000803e param  3\n"), std::string::npos) << text;  // 0.25f
    EXPECT_NE(text.find("string 4c6f7564204261737300 name\n"), std::string::npos) << text;

    second.calls.clear();
    EXPECT_NE(presetSystem(second.effect)->recallMemoB(), 0) << "B was never stored";
    EXPECT_TRUE(second.calls.empty());
    EXPECT_EQ(presetSystem(second.effect)->recallMemoA(), 0);
    EXPECT_EQ(second.effect->getParameter(second.effect, 5), 0.675f);
    EXPECT_EQ(second.effect->getParameter(second.effect, 3), 0.25f);
    EXPECT_EQ(second.text(effGetProgramName), "Loud Bass");
    EXPECT_EQ(second.countCalls(audioMasterAutomate), 12);
    EXPECT_EQ(second.countCalls(audioMasterBeginEdit), 0);
    EXPECT_EQ(second.countCalls(audioMasterUpdateDisplay), 1);
}
