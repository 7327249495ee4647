// The in-memory store behaves as the registry does where portable code could
// come to rely on a difference.
#include <gtest/gtest.h>

#include "platform/headless/memorySettingsStore.h"

using platform::headless::MemorySettingsStore;

TEST(MemorySettingsStore, KeysAreEitherForReadingOrForWriting) {
    MemorySettingsStore store;
    const char* path = "SOFTWARE\\Korvane\\KVBRS1\\MemoA";
    long status = -1;
    auto writer = store.createKey(path, &status);
    ASSERT_NE(writer, nullptr);
    const float f = 0.25f;
    ASSERT_EQ(writer->setValue("param  0", platform::kSettingsBinary, &f, 4), platform::kSettingsOk);
    float back = 0.0f;
    std::uint32_t size = 4;
    EXPECT_EQ(writer->queryValue("param  0", nullptr, &back, &size), platform::kSettingsAccessDenied);

    auto reader = store.openKey(path, &status);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->queryValue("param  0", nullptr, &back, &size), platform::kSettingsOk);
    EXPECT_EQ(back, 0.25f);
    EXPECT_EQ(reader->setValue("param  0", platform::kSettingsBinary, &f, 4),
              platform::kSettingsAccessDenied);
}
