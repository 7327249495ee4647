// The registry backend keeps the settings store's contract: status codes,
// sizes, types and untouched buffers, as the portable code relies on them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/windows/registrySettingsStore.h"
#include "registryHelpers.h"

using platform::windows::RegistrySettingsStore;

namespace {

const char* kRoot = "SOFTWARE\\KorvaneTests";
const char* kKey = "SOFTWARE\\KorvaneTests\\Store\\Deep\\Key";

struct RegistryStore : ::testing::Test {
    RegistrySettingsStore store;
    void SetUp() override { registry::removeTree(kRoot); }
    void TearDown() override { registry::removeTree(kRoot); }
};

}  // namespace

TEST_F(RegistryStore, MissingKeysAndNullPaths) {
    long status = -1;
    EXPECT_EQ(store.openKey(kKey, &status), nullptr);
    EXPECT_EQ(status, platform::kSettingsNotFound);
    status = -1;
    EXPECT_EQ(store.openKey(nullptr, &status), nullptr);
    EXPECT_EQ(status, platform::kSettingsNotFound);
    status = -1;
    EXPECT_EQ(store.createKey(nullptr, &status), nullptr);
    EXPECT_EQ(status, platform::kSettingsInvalidParameter);
    EXPECT_EQ(store.openKey(kKey, nullptr), nullptr) << "a status pointer is optional";
}

TEST_F(RegistryStore, CreateMakesParentsAndWritesExactBytes) {
    long status = -1;
    auto key = store.createKey(kKey, &status);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(status, platform::kSettingsOk);
    const float f = 0.6f;
    EXPECT_EQ(key->setValue("VUtimeConst", platform::kSettingsBinary, &f, 4), platform::kSettingsOk);
    key.reset();  // closes

    registry::RawValue raw = registry::read(kKey, "VUtimeConst");
    ASSERT_EQ(raw.status, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(raw.bytes.size(), 4u);
    EXPECT_EQ(std::memcmp(raw.bytes.data(), &f, 4), 0);

    auto reader = store.openKey(kKey, &status);
    ASSERT_NE(reader, nullptr);
    float back = 0;
    std::uint32_t size = 4, type = 0;
    EXPECT_EQ(reader->queryValue("VUtimeConst", &type, &back, &size), platform::kSettingsOk);
    EXPECT_EQ(type, platform::kSettingsBinary);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(back, 0.6f);

    // Creating an existing key opens it and keeps its values.
    auto again = store.createKey(kKey, &status);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(registry::read(kKey, "VUtimeConst").bytes.size(), 4u);
}

TEST_F(RegistryStore, QueryReportsSizesAndLeavesShortBuffersAlone) {
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(registry::write(kKey, "eight", REG_BINARY, eight, 8), ERROR_SUCCESS);
    auto key = store.openKey(kKey, nullptr);
    ASSERT_NE(key, nullptr);

    unsigned char buffer[8];
    std::memset(buffer, 0xAB, sizeof(buffer));
    std::uint32_t size = 4, type = 0;
    EXPECT_EQ(key->queryValue("eight", &type, buffer, &size), platform::kSettingsMoreData);
    EXPECT_EQ(size, 8u) << "the value's real size";
    EXPECT_EQ(type, platform::kSettingsBinary);
    for (unsigned char b : buffer) EXPECT_EQ(b, 0xAB) << "nothing copied into a short buffer";

    size = 8;
    EXPECT_EQ(key->queryValue("eight", nullptr, buffer, &size), platform::kSettingsOk);
    EXPECT_EQ(std::memcmp(buffer, eight, 8), 0);

    unsigned char large[32];
    size = sizeof(large);
    EXPECT_EQ(key->queryValue("eight", nullptr, large, &size), platform::kSettingsOk);
    EXPECT_EQ(size, 8u);

    size = 16;
    EXPECT_EQ(key->queryValue("eight", &type, nullptr, &size), platform::kSettingsOk)
        << "no buffer: only the size and type are asked for";
    EXPECT_EQ(size, 8u);

    size = 0;
    EXPECT_EQ(key->queryValue("eight", nullptr, nullptr, &size), platform::kSettingsMoreData);
    EXPECT_EQ(size, 8u);

    size = 4;
    EXPECT_EQ(key->queryValue("absent", nullptr, buffer, &size), platform::kSettingsNotFound);
    EXPECT_EQ(key->queryValue(nullptr, nullptr, buffer, &size), platform::kSettingsInvalidParameter);
    EXPECT_EQ(key->queryValue("eight", nullptr, buffer, nullptr),
              platform::kSettingsInvalidParameter);
}

TEST_F(RegistryStore, ReadOnlyKeysRefuseWritesAndBadArgumentsAreRefused) {
    ASSERT_NE(store.createKey(kKey, nullptr), nullptr);
    auto reader = store.openKey(kKey, nullptr);
    ASSERT_NE(reader, nullptr);
    const float f = 1.0f;
    EXPECT_EQ(reader->setValue("PPMhold", platform::kSettingsBinary, &f, 4),
              platform::kSettingsAccessDenied);
    EXPECT_EQ(registry::read(kKey, "PPMhold").status, ERROR_FILE_NOT_FOUND);

    auto writer = store.createKey(kKey, nullptr);
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(writer->setValue(nullptr, platform::kSettingsBinary, &f, 4),
              platform::kSettingsInvalidParameter);
    EXPECT_EQ(writer->setValue("PPMhold", platform::kSettingsBinary, nullptr, 4),
              platform::kSettingsInvalidParameter);
}

TEST_F(RegistryStore, StringsKeepTheirTerminatorAndType) {
    auto key = store.createKey(kKey, nullptr);
    ASSERT_NE(key, nullptr);
    const char name[] = "Current";
    EXPECT_EQ(key->setValue("name", platform::kSettingsString, name, sizeof(name)),
              platform::kSettingsOk);
    registry::RawValue raw = registry::read(kKey, "name");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(raw.bytes.size(), sizeof(name));
    EXPECT_EQ(std::memcmp(raw.bytes.data(), name, sizeof(name)), 0);

    // A key opened for writing has no right to read (KEY_WRITE): read through another.
    char back[64];
    std::uint32_t size = sizeof(back), type = 0;
    EXPECT_EQ(key->queryValue("name", &type, back, &size), platform::kSettingsAccessDenied);
    auto reader = store.openKey(kKey, nullptr);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->queryValue("name", &type, back, &size), platform::kSettingsOk);
    EXPECT_EQ(type, platform::kSettingsString);
    EXPECT_EQ(size, sizeof(name));
    EXPECT_STREQ(back, "Current");
}
