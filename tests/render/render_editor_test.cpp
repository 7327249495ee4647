// --editor-png: the editor as the render left it, drawn beside the audio.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "renderTestSupport.h"

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t bigEndian(const std::string& b, std::size_t at) {
    auto u = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])); };
    return (u(0) << 24) | (u(1) << 16) | (u(2) << 8) | u(3);
}

struct EditorPng : ::testing::Test {
    ScratchFolder folder;
    void SetUp() override {
        writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
                   testSignal(2, 48000, 0.5));
    }
};

const std::string kFixtures = KVBR_FIXTURE_DIR;

}  // namespace

TEST_F(EditorPng, DrawsTheEditorAsTheRenderLeftIt) {
    const ToolRun soft = runTool({"in.wav", "soft.wav", "--set", "Compression=0", "--editor-png", "soft.png"},
                                 folder.path);
    ASSERT_EQ(soft.status, 0) << soft.err;
    EXPECT_NE(soft.out.find("wrote           soft.png (the editor as the render left it)"), std::string::npos)
        << soft.out;
    const std::string picture = slurp(folder.file("soft.png"));
    ASSERT_GT(picture.size(), 24u);
    EXPECT_EQ(picture.substr(1, 3), "PNG");
    EXPECT_EQ(bigEndian(picture, 16), 400u);
    EXPECT_EQ(bigEndian(picture, 20), 309u);

    const ToolRun hard = runTool({"in.wav", "hard.wav", "--set", "Compression=10", "--editor-png", "hard.png"},
                                 folder.path);
    ASSERT_EQ(hard.status, 0) << hard.err;
    EXPECT_NE(slurp(folder.file("hard.png")), picture) << "the knob and the meter show the settings";

    // Only the effect's own state counts: the same render draws the same picture.
    ASSERT_EQ(runTool({"in.wav", "again.wav", "--set", "Compression=0", "--editor-png", "again.png", "-q"},
                      folder.path)
                  .status,
              0);
    EXPECT_EQ(slurp(folder.file("again.png")), picture);
}

TEST_F(EditorPng, RefusedForOtherEffectsAndWithoutAFileToWrite) {
    const ToolRun other = runTool({"in.wav", "out.wav", "--plugin", kFixtures + "/kvbr_fixture_gain.so",
                                   "--editor-png", "other.png"},
                                  folder.path);
    EXPECT_EQ(other.status, 2);
    EXPECT_NE(other.err.find("draws Korvane Brassel's own editor"), std::string::npos) << other.err;
    EXPECT_FALSE(std::filesystem::exists(folder.file("other.png")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out.wav")));

    EXPECT_EQ(runTool({"--list", "--editor-png", "x.png"}, folder.path).status, 2);
    EXPECT_EQ(runTool({"in.wav", "out.wav", "--editor-png", ""}, folder.path).status, 2);
    std::ofstream(folder.file("taken.png")) << "precious";
    const ToolRun taken = runTool({"in.wav", "out.wav", "--editor-png", "taken.png"}, folder.path);
    EXPECT_EQ(taken.status, 2);
    EXPECT_NE(taken.err.find("exists; add --force"), std::string::npos) << taken.err;
    EXPECT_EQ(slurp(folder.file("taken.png")), "precious");
}
