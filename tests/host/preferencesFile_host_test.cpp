// The meter preferences as the Linux plug-in keeps them: a file under the
// user's configuration folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestHost.h"

namespace {
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(PreferencesFile, FirstInstanceCreatesTheFourValues) {
    ScratchConfigHome config;
    const std::string file = config.path() + "/Korvane/KVBRS1/Preferences";
    {
        TestHost host;
        ASSERT_NE(host.open(), nullptr);
    }
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("binary 000060c1 VUreference\n"), std::string::npos) << text;  // -14.0f
    EXPECT_NE(text.find("binary 9a99193f VUtimeConst\n"), std::string::npos) << text;  // 0.6f
    EXPECT_NE(text.find("binary 9a99193f PPMrelease\n"), std::string::npos) << text;
    EXPECT_NE(text.find("binary 0000803f PPMhold\n"), std::string::npos) << text;  // 1.0f

    // A second instance finds them and leaves the file as it was.
    auto before = std::filesystem::last_write_time(file);
    {
        TestHost host;
        ASSERT_NE(host.open(), nullptr);
    }
    EXPECT_EQ(readFile(file), text);
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

TEST(PreferencesFile, DamagedFileNeverStopsTheEffect) {
    ScratchConfigHome config;
    std::filesystem::create_directories(config.path() + "/Korvane/KVBRS1");
    std::ofstream(config.path() + "/Korvane/KVBRS1/Preferences") << "\x7f\x45garbage\n\n\n";
    TestHost host;
    ASSERT_NE(host.open(), nullptr);
    EXPECT_EQ(host.dispatch(vst2::effGetVendorVersion), 1100);
}
