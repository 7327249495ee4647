// Bad input: one clear line on standard error, a non-zero exit status, and
// never an output file, not even a partial one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "renderTestSupport.h"

namespace fs = std::filesystem;

namespace {

struct BadInput : ::testing::Test {
    ScratchFolder folder;
    void SetUp() override {
        writeAudio(folder.file("good.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
                   testSignal(2, 48000, 0.2));
        before = folder.entries();
    }

    // The run failed with `status` and one line that mentions `words`, and
    // left the folder as it was.
    void expectRefused(const std::vector<std::string>& args, int status, const std::string& words) {
        const ToolRun run = runTool(args, folder.path);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.rfind("kvbr-render: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
        auto now = folder.entries();
        std::sort(now.begin(), now.end());
        auto was = before;
        std::sort(was.begin(), was.end());
        EXPECT_EQ(now, was) << "the folder changed";
    }

    void writeText(const std::string& name, const std::string& text) {
        std::ofstream(folder.file(name)) << text;
        before = folder.entries();
    }

    std::vector<std::string> before;
};

const std::string kFixtures = KVBR_FIXTURE_DIR;

}  // namespace

TEST_F(BadInput, MissingAndNonAudioFiles) {
    expectRefused({"missing.wav", "out.wav"}, 1, "no such file: missing.wav");
    fs::create_directory(folder.file("folder.wav"));
    before = folder.entries();
    expectRefused({"folder.wav", "out.wav"}, 1, "not a regular file");
    writeText("notes.wav", "these are not samples\n");
    expectRefused({"notes.wav", "out.wav"}, 1, "not a WAV, AIFF or FLAC file");
    writeText("empty.flac", "");
    expectRefused({"empty.flac", "out.wav"}, 1, "not a WAV, AIFF or FLAC file");
}

TEST_F(BadInput, UnreadableFile) {
    writeText("locked.wav", "RIFF");
    fs::permissions(folder.file("locked.wav"), fs::perms::none);
    if (std::ifstream(folder.file("locked.wav")).good()) GTEST_SKIP() << "running as root: every file is readable";
    expectRefused({"locked.wav", "out.wav"}, 1, "permission denied");
}

TEST_F(BadInput, UnsupportedChannelCount) {
    writeAudio(folder.file("surround.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 48000,
               testSignal(3, 48000, 0.1));
    before = folder.entries();
    expectRefused({"surround.wav", "out.wav"}, 1, "has 3 channels; only mono and stereo");
}

TEST_F(BadInput, BadOptionValues) {
    expectRefused({"good.wav", "out.wav", "--block", "0"}, 2, "--block needs a whole number");
    expectRefused({"good.wav", "out.wav", "--block", "12x"}, 2, "--block needs a whole number");
    expectRefused({"good.wav", "out.wav", "--precision", "48"}, 2, "--precision is 32 or 64");
    expectRefused({"good.wav", "out.wav", "--slot", "33"}, 2, "--slot needs a whole number from 0 to 32");
    expectRefused({"good.wav", "out.wav", "--shiny"}, 2, "unknown option --shiny");
    expectRefused({"good.wav", "out.wav", "--set", "Ratio"}, 2, "--set needs INDEX=VALUE");
    expectRefused({"good.wav", "out.wav", "--set", "20=0.5"}, 2, "parameter 20 does not exist");
    expectRefused({"good.wav", "out.wav", "--set", "5=1.5"}, 2, "between 0 and 1");
    expectRefused({"good.wav", "out.wav", "--set", "Attack=3"}, 2, "no parameter named \"Attack\"");
    expectRefused({"good.wav", "out.wav", "--set", "Ratio=5:1"}, 2, "no value of Ratio shows \"5:1\"");
    expectRefused({"good.wav", "out.flac", "--float"}, 2, "FLAC files cannot hold 32-bit float");
    // Three names are a batch now (render_batch_test.cpp); one output file
    // cannot serve several inputs.
    expectRefused({"good.wav", "a.wav", "b.wav", "-o", "out.wav"}, 2, "several inputs take --out-dir");
}

TEST_F(BadInput, OutputsAreNeverOverwrittenUnasked) {
    writeText("taken.wav", "precious");
    expectRefused({"good.wav", "taken.wav"}, 2, "exists; add --force");
    expectRefused({"good.wav", "good.wav", "--force"}, 2, "is the input file");
    expectRefused({"good.wav", "out.wav", "--plot", "out.wav"}, 2, "two outputs");
    expectRefused({"good.wav", "out.wav", "--plot", "nowhere/plot.png"}, 2, "does not exist");
    std::ifstream kept(folder.file("taken.wav"));
    std::string content;
    kept >> content;
    EXPECT_EQ(content, "precious");

    // With --force the file is replaced whole.
    ASSERT_EQ(runTool({"good.wav", "taken.wav", "--force"}, folder.path).status, 0);
    EXPECT_EQ(readAudio(folder.file("taken.wav")).info.channels, 2);
}

TEST_F(BadInput, PluginsThatAreNotPlugins) {
    writeText("fake.so", "not a shared object");
    expectRefused({"good.wav", "out.wav", "--plugin", "fake.so"}, 1, "fake.so is not a VST 2.x plug-in");
    expectRefused({"good.wav", "out.wav", "--plugin", "absent.so"}, 1, "no plug-in at absent.so");
    expectRefused({"good.wav", "out.wav", "--plugin", kFixtures + "/kvbr_fixture_noentry.so"}, 1,
                  "exports neither VSTPluginMain nor main");
    expectRefused({"good.wav", "out.wav", "--plugin", kFixtures + "/kvbr_fixture_null.so"}, 1,
                  "returned no effect");
    expectRefused({"good.wav", "out.wav", "--plugin", kFixtures + "/kvbr_fixture_gain.so",
                   "--precision", "64"},
                  2, "cannot process 64-bit samples");
    expectRefused({"good.wav", "out.wav", "--plugin", kFixtures + "/kvbr_fixture_gain.so", "--slot", "3"}, 2,
                  "presets belong to Korvane Brassel");
}
