// The A/B memories in the machine's registry, shared by every instance.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formats/vst2/AutoComp.h"
#include "registryHelpers.h"

namespace {

const char* kMemoA = "SOFTWARE\\Korvane\\KVBRS1\\MemoA";
const char* kMemoB = "SOFTWARE\\Korvane\\KVBRS1\\MemoB";

vst2::intptr silentHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*,
                        float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

std::string selectedName(AutoComp& effect) {
    char name[32] = {0};
    effect.getBankProgram(effect.getCurrentPreset())->getName(name);
    return name;
}

struct RegistryMemories : ::testing::Test {
    void SetUp() override {
        registry::removeTree(kMemoA);
        registry::removeTree(kMemoB);
    }
    void TearDown() override { SetUp(); }
};

}  // namespace

TEST_F(RegistryMemories, StoredByOneInstanceRecalledByAnother) {
    float stored[12];
    {
        AutoComp first(silentHost);
        first.selectPreset(7);
        for (int k = 0; k < 12; ++k) first.setParameter(k, 0.03f * static_cast<float>(k + 1));
        for (int k = 0; k < 12; ++k) stored[k] = first.getParameter(k);
        EXPECT_EQ(first.storeMemoA(), ERROR_SUCCESS);
    }

    // As Windows sees it: twelve 4-byte binary values and the name with its zero.
    const registry::RawValue three = registry::read(kMemoA, "param  3");
    ASSERT_EQ(three.status, ERROR_SUCCESS);
    EXPECT_EQ(three.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(three.bytes.size(), 4u);
    float value;
    std::memcpy(&value, three.bytes.data(), 4);
    EXPECT_EQ(value, stored[3]);
    EXPECT_EQ(registry::read(kMemoA, "param 11").status, ERROR_SUCCESS);
    const registry::RawValue name = registry::read(kMemoA, "name");
    EXPECT_EQ(name.type, static_cast<DWORD>(REG_SZ));
    ASSERT_FALSE(name.bytes.empty());
    EXPECT_EQ(name.bytes.back(), 0);
    const std::string storedName(name.bytes.begin(), name.bytes.end() - 1);

    AutoComp second(silentHost);
    second.selectPreset(20);
    second.recallMemoA();
    for (int k = 0; k < 12; ++k) EXPECT_EQ(second.getParameter(k), stored[k]) << "parameter " << k;
    EXPECT_EQ(selectedName(second), storedName);
    EXPECT_EQ(second.getCurrentPreset(), 20) << "a recall changes the selected preset's contents";

    // B was never stored: recalling it changes nothing.
    const float before = second.getParameter(5);
    second.recallMemoB();
    EXPECT_EQ(second.getParameter(5), before);
}

TEST_F(RegistryMemories, LongNamesWrittenByHandAreCut) {
    const std::string longName = "A name of thirty characters!!!";
    ASSERT_EQ(registry::write(kMemoB, "name", REG_SZ, longName.c_str(),
                              static_cast<DWORD>(longName.size() + 1)),
              ERROR_SUCCESS);
    AutoComp effect(silentHost);
    effect.recallMemoB();
    EXPECT_EQ(selectedName(effect), longName.substr(0, 24));
}
