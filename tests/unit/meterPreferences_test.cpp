// The meter preferences on the in-memory settings store.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"

using platform::headless::MemorySettingsStore;
using platform::headless::memorySettingsStore;

namespace {

const char* kKey = "SOFTWARE\\Korvane\\KVBRS1\\Preferences";

vst2::intptr silentHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*,
                        float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

float storedFloat(const char* name) {
    MemorySettingsStore::Value v;
    EXPECT_TRUE(memorySettingsStore().getValue(kKey, name, v)) << name;
    EXPECT_EQ(v.type, platform::kSettingsBinary);
    EXPECT_EQ(v.bytes.size(), 4u);
    float f = 0;
    if (v.bytes.size() == 4) std::memcpy(&f, v.bytes.data(), 4);
    return f;
}

void storeFloat(const char* name, float f) {
    memorySettingsStore().putValue(kKey, name, platform::kSettingsBinary, &f, 4);
}

}  // namespace

struct MeterPreferences : ::testing::Test {
    void SetUp() override { memorySettingsStore().clear(); }
};

TEST_F(MeterPreferences, FirstConstructionCreatesTheDefaults) {
    AutoComp effect(silentHost);
    EXPECT_EQ(effect.core().meterPreferences().vuReference, -14.0);
    EXPECT_EQ(effect.core().meterPreferences().vuTimeConst, 0.6);  // the double default, not the stored float
    EXPECT_EQ(effect.core().meterPreferences().ppmRelease, 0.6);
    EXPECT_EQ(effect.core().meterPreferences().ppmHold, 1.0);
    EXPECT_EQ(storedFloat("VUreference"), -14.0f);
    EXPECT_EQ(storedFloat("VUtimeConst"), 0.6f);
    EXPECT_EQ(storedFloat("PPMrelease"), 0.6f);
    EXPECT_EQ(storedFloat("PPMhold"), 1.0f);
    EXPECT_EQ(memorySettingsStore().writeCount(), 4);

    // A later instance reads the stored floats back and writes nothing.
    AutoComp second(silentHost);
    EXPECT_EQ(second.core().meterPreferences().vuTimeConst, static_cast<double>(0.6f));
    EXPECT_EQ(memorySettingsStore().writeCount(), 4);
}

TEST_F(MeterPreferences, StoredValueIsUsedAndNothingWritten) {
    for (const char* n : {"VUreference", "VUtimeConst", "PPMrelease", "PPMhold"})
        storeFloat(n, 0.3f);
    AutoComp effect(silentHost);
    EXPECT_EQ(effect.core().meterPreferences().vuTimeConst, static_cast<double>(0.3f));
    EXPECT_EQ(memorySettingsStore().writeCount(), 0);
}

TEST_F(MeterPreferences, SentinelAndWrongSizesAreReplaced) {
    storeFloat("PPMhold", -1000.0f);
    double eight = 5.0;
    memorySettingsStore().putValue(kKey, "VUreference", platform::kSettingsBinary, &eight, 8);
    short two = 7;
    memorySettingsStore().putValue(kKey, "VUtimeConst", platform::kSettingsBinary, &two, 2);
    std::uint32_t dword;
    float half = 0.5f;
    std::memcpy(&dword, &half, 4);
    memorySettingsStore().putValue(kKey, "PPMrelease", platform::kSettingsDword, &dword, 4);

    AutoComp effect(silentHost);
    EXPECT_EQ(effect.core().meterPreferences().ppmHold, 1.0);
    EXPECT_EQ(storedFloat("PPMhold"), 1.0f);
    EXPECT_EQ(effect.core().meterPreferences().vuReference, -14.0);
    EXPECT_EQ(storedFloat("VUreference"), -14.0f) << "8-byte value overwritten as 4 bytes";
    EXPECT_EQ(effect.core().meterPreferences().vuTimeConst, 0.6);
    EXPECT_EQ(effect.core().meterPreferences().ppmRelease, 0.5) << "any 4-byte value reads as the float with its bits";
}

TEST_F(MeterPreferences, NoWriteAccessGivesDefaultsSilently) {
    memorySettingsStore().setWritable(false);
    AutoComp effect(silentHost);
    EXPECT_EQ(effect.core().meterPreferences().vuReference, -14.0);
    EXPECT_EQ(effect.core().meterPreferences().ppmHold, 1.0);
    EXPECT_FALSE(memorySettingsStore().hasKey(kKey));
    memorySettingsStore().setWritable(true);
    AutoComp later(silentHost);  // the next construction tries again
    EXPECT_EQ(storedFloat("PPMhold"), 1.0f);
}

TEST_F(MeterPreferences, Accessors) {
    AutoComp effect(silentHost);
    memorySettingsStore().clear();
    EXPECT_EQ(effect.getPPMrelease(), 0.6f);
    EXPECT_EQ(storedFloat("PPMrelease"), 0.6f);
    EXPECT_NEAR(effect.getPPMrelease(), 0.6000000238, 1e-10);
    effect.setVUreference(-18.0f);
    EXPECT_EQ(effect.getVUreference(), -18.0f);
    effect.setPPMhold(2.0f);
    effect.setVUtimeConst(0.25f);
    effect.setPPMrelease(0.125f);
    EXPECT_EQ(effect.getPPMhold(), 2.0f);
    EXPECT_EQ(effect.getVUtimeConst(), 0.25f);
    EXPECT_EQ(effect.getPPMrelease(), 0.125f);
}
