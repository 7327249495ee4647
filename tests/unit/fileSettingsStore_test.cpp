// The Linux settings files: one file per key, written whole and renamed into place.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/linux/fileSettingsStore.h"
#include "core/preferenceStore.h"

namespace fs = std::filesystem;
using platform::linux_backend::FileSettingsStore;

namespace {

const char* kKey = "SOFTWARE\\Korvane\\KVBRS1\\Preferences";

struct FileStore : ::testing::Test {
    std::string root;
    void SetUp() override {
        char tmpl[] = "/tmp/kvbr-store-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root = tmpl;
    }
    void TearDown() override { fs::remove_all(root); }
    std::string keyFile() const { return root + "/Korvane/KVBRS1/Preferences"; }
    long setFloat(FileSettingsStore& store, const char* name, float f) {
        long status = -1;
        auto key = store.createKey(kKey, &status);
        if (!key) return status;
        return key->setValue(name, platform::kSettingsBinary, &f, 4);
    }
    bool getFloat(FileSettingsStore& store, const char* name, float& f) {
        auto key = store.openKey(kKey, nullptr);
        std::uint32_t size = 4, type = 0;
        return key && key->queryValue(name, &type, &f, &size) == platform::kSettingsOk && size == 4;
    }
};

}  // namespace

TEST_F(FileStore, MapsKeysToFilesUnderTheConfigFolder) {
    FileSettingsStore store(root);
    EXPECT_EQ(store.fileForKey(kKey), keyFile());
    EXPECT_EQ(store.fileForKey("SOFTWARE\\Korvane\\..\\x"), "");
    EXPECT_EQ(store.fileForKey("SOFTWARE\\Korvane\\\\x"), "");
    EXPECT_EQ(store.fileForKey("SOFTWARE\\a/b"), "");
    EXPECT_EQ(store.fileForKey(nullptr), "");
}

TEST_F(FileStore, RoundTripKeepsTypesAndExactBytes) {
    FileSettingsStore store(root);
    EXPECT_EQ(setFloat(store, "VUreference", -14.0f), platform::kSettingsOk);
    long status;
    auto key = store.createKey(kKey, &status);
    ASSERT_TRUE(key);
    const char name[] = "Glue Things Together";
    ASSERT_EQ(key->setValue("name", platform::kSettingsString, name, sizeof(name)), 0);
    ASSERT_EQ(key->setValue("param  3", platform::kSettingsBinary, "\x00\x00\x80\x3f", 4), 0);
    ASSERT_EQ(key->setValue("empty", platform::kSettingsBinary, nullptr, 0), 0);
    EXPECT_EQ(key->setValue("bad\nname", platform::kSettingsBinary, "x", 1),
              platform::kSettingsInvalidParameter);

    FileSettingsStore again(root);
    float f = 0;
    ASSERT_TRUE(getFloat(again, "VUreference", f));
    EXPECT_EQ(f, -14.0f);
    ASSERT_TRUE(getFloat(again, "param  3", f));
    EXPECT_EQ(f, 1.0f);
    auto reader = again.openKey(kKey, &status);
    char text[64];
    std::uint32_t size = sizeof(text), type = 0;
    ASSERT_EQ(reader->queryValue("name", &type, text, &size), 0);
    EXPECT_EQ(type, platform::kSettingsString);
    EXPECT_EQ(size, sizeof(name));
    EXPECT_STREQ(text, name);
    size = 4;
    EXPECT_EQ(reader->queryValue("name", &type, text, &size), platform::kSettingsMoreData);
    EXPECT_EQ(size, sizeof(name));
    size = 4;
    EXPECT_EQ(reader->queryValue("missing", &type, text, &size), platform::kSettingsNotFound);
    size = 4;
    EXPECT_EQ(reader->queryValue("empty", &type, text, &size), 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(reader->setValue("x", platform::kSettingsBinary, "x", 1), platform::kSettingsAccessDenied)
        << "a key opened for reading refuses writes";
}

TEST_F(FileStore, MissingKeyCannotBeOpened) {
    FileSettingsStore store(root);
    long status = 0;
    EXPECT_EQ(store.openKey(kKey, &status), nullptr);
    EXPECT_EQ(status, platform::kSettingsNotFound);
}

TEST_F(FileStore, DamagedFileReadsAsMissingAndIsRepairedByAWrite) {
    FileSettingsStore store(root);
    fs::create_directories(root + "/Korvane/KVBRS1");
    {
        std::ofstream out(keyFile(), std::ios::binary);
        out << "KVBR-SETTINGS 1\nbinary 00zz VUreference\n\x01\x02garbage";
    }
    float f;
    EXPECT_FALSE(getFloat(store, "VUreference", f));
    EXPECT_EQ(setFloat(store, "PPMhold", 1.0f), platform::kSettingsOk);
    EXPECT_TRUE(getFloat(store, "PPMhold", f));
    EXPECT_EQ(f, 1.0f);

    std::ofstream(keyFile(), std::ios::binary | std::ios::trunc) << "";  // empty file
    EXPECT_FALSE(getFloat(store, "PPMhold", f));
    std::ofstream(keyFile(), std::ios::binary | std::ios::trunc) << "KVBR-SETTINGS 1\nbinary";
    EXPECT_FALSE(getFloat(store, "PPMhold", f));
}

TEST_F(FileStore, UnreadableKeyAndUnwritableFolderFailQuietly) {
    FileSettingsStore store(root);
    // A folder where the key file should be cannot be read or replaced.
    fs::create_directories(keyFile());
    float f;
    EXPECT_FALSE(getFloat(store, "VUreference", f));
    EXPECT_NE(setFloat(store, "VUreference", 1.0f), platform::kSettingsOk);
    EXPECT_TRUE(fs::is_directory(keyFile()));

    // A file where a folder should be: the key's folder cannot be created.
    FileSettingsStore blocked(root + "/blocker");
    std::ofstream(root + "/blocker") << "x";
    EXPECT_NE(setFloat(blocked, "VUreference", 1.0f), platform::kSettingsOk);
}

TEST_F(FileStore, WritesLeaveNoTemporaryFilesBehind) {
    FileSettingsStore store(root);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(setFloat(store, "PPMhold", static_cast<float>(i)), 0);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(root + "/Korvane/KVBRS1")) {
        ++files;
        EXPECT_EQ(entry.path().filename(), "Preferences");
    }
    EXPECT_EQ(files, 1);
    std::ifstream in(keyFile());
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "KVBR-SETTINGS 1");
}
