// The meter preferences in the machine's registry, as the DLL keeps them.
#include <gtest/gtest.h>

#include <cstring>

#include "formats/vst2/AutoComp.h"
#include "core/preferenceStore.h"
#include "registryHelpers.h"

namespace {

const char* kKey = "SOFTWARE\\Korvane\\KVBRS1\\Preferences";

vst2::intptr silentHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*,
                        float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

// The stored value as a float; fails the test unless it is 4 bytes of REG_BINARY.
float storedFloat(const char* name) {
    registry::RawValue raw = registry::read(kKey, name);
    EXPECT_EQ(raw.status, ERROR_SUCCESS) << name;
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY)) << name;
    EXPECT_EQ(raw.bytes.size(), 4u) << name;
    float f = -1.0f;
    if (raw.bytes.size() == 4) std::memcpy(&f, raw.bytes.data(), 4);
    return f;
}

struct RegistryPreferences : ::testing::Test {
    void SetUp() override { registry::removeTree(kKey); }
    void TearDown() override { registry::removeTree(kKey); }
};

}  // namespace

TEST_F(RegistryPreferences, FirstInstanceCreatesTheFourValues) {
    {
        AutoComp effect(silentHost);
        EXPECT_EQ(effect.core().meterPreferences().vuReference, -14.0);
        EXPECT_EQ(effect.core().meterPreferences().vuTimeConst, 0.6);
        EXPECT_EQ(effect.core().meterPreferences().ppmRelease, 0.6);
        EXPECT_EQ(effect.core().meterPreferences().ppmHold, 1.0);
    }
    EXPECT_EQ(storedFloat("VUreference"), -14.0f);
    EXPECT_EQ(storedFloat("VUtimeConst"), 0.6f);
    EXPECT_EQ(storedFloat("PPMrelease"), 0.6f);
    EXPECT_EQ(storedFloat("PPMhold"), 1.0f);

    AutoComp later(silentHost);
    EXPECT_EQ(later.core().meterPreferences().vuTimeConst, static_cast<double>(0.6f)) << "read back from the stored float";
}

TEST_F(RegistryPreferences, StoredValuesWinAndBadOnesAreReplaced) {
    const float timeConst = 0.3f, sentinel = -1000.0f, half = 0.5f;
    const double eight = 5.0;
    DWORD dword;
    std::memcpy(&dword, &half, 4);
    ASSERT_EQ(registry::write(kKey, "VUtimeConst", REG_BINARY, &timeConst, 4), ERROR_SUCCESS);
    ASSERT_EQ(registry::write(kKey, "PPMhold", REG_BINARY, &sentinel, 4), ERROR_SUCCESS);
    ASSERT_EQ(registry::write(kKey, "VUreference", REG_BINARY, &eight, 8), ERROR_SUCCESS);
    ASSERT_EQ(registry::write(kKey, "PPMrelease", REG_DWORD, &dword, 4), ERROR_SUCCESS);

    AutoComp effect(silentHost);
    EXPECT_EQ(effect.core().meterPreferences().vuTimeConst, static_cast<double>(0.3f));
    EXPECT_EQ(effect.core().meterPreferences().ppmHold, 1.0) << "the sentinel counts as absent";
    EXPECT_EQ(storedFloat("PPMhold"), 1.0f);
    EXPECT_EQ(effect.core().meterPreferences().vuReference, -14.0) << "an 8-byte value cannot be read";
    EXPECT_EQ(storedFloat("VUreference"), -14.0f) << "and is written over with 4 bytes";
    EXPECT_EQ(effect.core().meterPreferences().ppmRelease, 0.5) << "any 4-byte value is the float with its bits";
    EXPECT_EQ(registry::read(kKey, "PPMrelease").type, static_cast<DWORD>(REG_DWORD))
        << "a readable value is left as it is";
}

TEST_F(RegistryPreferences, PrimitivesAndAccessors) {
    EXPECT_EQ(readPreference("PPMhold", 7.0f), 7.0f) << "no key: the fallback";
    writePreference("PPMhold", 2.5f);
    EXPECT_EQ(storedFloat("PPMhold"), 2.5f);
    EXPECT_EQ(readPreference("PPMhold", 7.0f), 2.5f);
    const short two = 3;
    ASSERT_EQ(registry::write(kKey, "PPMhold", REG_BINARY, &two, 2), ERROR_SUCCESS);
    EXPECT_EQ(readPreference("PPMhold", 7.0f), 7.0f) << "a 2-byte value is not a float";

    AutoComp effect(silentHost);
    registry::removeTree(kKey);
    EXPECT_EQ(effect.getPPMrelease(), 0.6f);
    EXPECT_EQ(storedFloat("PPMrelease"), 0.6f);
    effect.setVUreference(-18.0f);
    EXPECT_EQ(storedFloat("VUreference"), -18.0f);
    EXPECT_EQ(effect.getVUreference(), -18.0f);
}
