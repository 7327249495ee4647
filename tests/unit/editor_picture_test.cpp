// The editor drawn offscreen and saved as a PNG.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/headless/headless.h"
#include "tools/editorPicture/editorPicture.h"

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t bigEndian(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

struct EditorPicture : ::testing::Test {
    void SetUp() override {
        platform::headless::resetHeadless();
        // One folder per test and build: ctest runs the tests side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = fs::path(KVBR_TEST_OUTPUT_DIR) / ("editor-picture-" + test);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<unsigned char> render(const editorpicture::EditorState& state, const char* name) {
        std::string error;
        EXPECT_TRUE(editorpicture::renderEditorPng(state, (dir / name).string(), error)) << error;
        return bytesOf(dir / name);
    }
    fs::path dir;
};

}  // namespace

TEST_F(EditorPicture, TheWholeWindowAsAPng) {
    const auto picture = render({}, "default.png");
    ASSERT_GT(picture.size(), 24u);
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), picture.begin()));
    EXPECT_EQ(bigEndian(picture, 16), 400u) << "width";
    EXPECT_EQ(bigEndian(picture, 20), 309u) << "height";
}

TEST_F(EditorPicture, TheStateShowsInThePicture) {
    editorpicture::EditorState state;
    const auto rest = render(state, "rest.png");
    EXPECT_EQ(render(state, "again.png"), rest) << "the same state draws the same picture";
    state.meterReading = 0.5;
    EXPECT_NE(render(state, "meter.png"), rest) << "the needle moved";
    state = {};
    state.parameters[5] = 0.0f;
    EXPECT_NE(render(state, "knob.png"), rest);
    state = {};
    state.aboutShowing = true;
    EXPECT_NE(render(state, "about.png"), rest);
}

TEST_F(EditorPicture, AFileThatCannotBeWrittenIsReported) {
    std::string error;
    EXPECT_FALSE(editorpicture::renderEditorPng({}, (dir / "missing" / "x.png").string(), error));
    EXPECT_NE(error.find("x.png"), std::string::npos);
}
