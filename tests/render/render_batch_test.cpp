// Batches: several inputs in one command, rendered in parallel, each file
// through its own instance; a bad file among good ones; the same outputs
// whatever the number of jobs; and never a partial file anywhere.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "renderTestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Names in a folder that look unfinished (staged outputs start with a dot).
std::vector<std::string> leftovers(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.find(".partial-") != std::string::npos) found.push_back(e.path().string());
    }
    return found;
}

// The same audio: format, layout and every sample (float files carry a time
// stamp in their header, so their bytes may differ by the second).
bool sameAudio(const std::string& a, const std::string& b) {
    const Decoded x = readAudio(a), y = readAudio(b);
    return x.info.format == y.info.format && x.info.channels == y.info.channels &&
           x.info.samplerate == y.info.samplerate && x.info.frames == y.info.frames &&
           x.samples == y.samples;
}

long count(const std::string& text, const std::string& what) {
    long n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct Batch : ::testing::Test {
    ScratchFolder folder;
    void SetUp() override {
        writeAudio(folder.file("one.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 48000,
                   testSignal(2, 48000, 0.6));
        writeAudio(folder.file("two.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 44100,
                   testSignal(1, 44100, 0.5));
        writeAudio(folder.file("three.aif"), SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2, 96000,
                   testSignal(2, 96000, 0.4));
        fs::create_directory(folder.file("out"));
    }
};

}  // namespace

TEST_F(Batch, SeveralFilesIntoAFolderEachAsItWouldRenderAlone) {
    const ToolRun run = runTool(
        {"one.wav", "two.flac", "three.aif", "--out-dir", "out", "--set", "5=0.8"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    // One line per file and one for the batch.
    for (const char* name :
         {"one.wav -> out/one.wav", "two.flac -> out/two.flac", "three.aif -> out/three.aif"})
        EXPECT_EQ(count(run.out, name), 1) << run.out;
    EXPECT_NE(run.out.find("rendered 3 of 3 files"), std::string::npos) << run.out;
    for (const char* name : {"one.wav", "two.flac", "three.aif"}) {
        const std::string alone = std::string("alone-") + name;
        ASSERT_EQ(runTool({name, alone, "--set", "5=0.8"}, folder.path).status, 0);
        EXPECT_EQ(readAudio(folder.file(std::string("out/") + name)).info.format,
                  readAudio(folder.file(name)).info.format);
        EXPECT_TRUE(sameAudio(folder.file(std::string("out/") + name), folder.file(alone)))
            << name << " renders in the batch as it renders alone";
    }
    EXPECT_TRUE(leftovers(folder.path).empty());
}

TEST_F(Batch, WithoutAFolderTheOutputsGoBesideTheInputs) {
    fs::create_directory(folder.file("sub"));
    fs::copy_file(folder.file("one.wav"), folder.file("sub/four.wav"));
    const ToolRun run = runTool({"one.wav", "two.flac", "sub/four.wav", "-q"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty()) << "quiet";
    EXPECT_TRUE(fs::exists(folder.file("one-brassel.wav")));
    EXPECT_TRUE(fs::exists(folder.file("two-brassel.flac")));
    EXPECT_TRUE(fs::exists(folder.file("sub/four-brassel.wav")));
}

TEST_F(Batch, ABadFileIsReportedAndTheOthersComplete) {
    std::ofstream(folder.file("notes.wav")) << "not audio at all\n";
    writeAudio(folder.file("surround.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 48000,
               testSignal(3, 48000, 0.1));
    const ToolRun run = runTool({"one.wav", "notes.wav", "missing.wav", "two.flac", "surround.wav",
                                 "three.aif", "--out-dir", "out", "-j", "2"},
                                folder.path);
    EXPECT_EQ(run.status, 1) << "something failed";
    EXPECT_EQ(count(run.err, "\n"), 3) << run.err;
    EXPECT_NE(run.err.find("notes.wav: not a WAV, AIFF or FLAC file"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("no such file: missing.wav"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("surround.wav has 3 channels"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("rendered 3 of 6 files (3 failed)"), std::string::npos) << run.out;
    std::vector<std::string> written;
    for (const auto& e : fs::directory_iterator(folder.file("out")))
        written.push_back(e.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"one.wav", "three.aif", "two.flac"}))
        << "nothing else, nothing partial";
}

TEST_F(Batch, OneJobOrTwoGiveTheSameFiles) {
    fs::create_directory(folder.file("out2"));
    for (int i = 0; i < 4; ++i)
        fs::copy_file(folder.file("one.wav"), folder.file("copy" + std::to_string(i) + ".wav"));
    const std::vector<std::string> inputs = {"one.wav",   "two.flac",  "three.aif", "copy0.wav",
                                             "copy1.wav", "copy2.wav", "copy3.wav"};
    std::vector<std::string> a = inputs, b = inputs;
    for (const char* arg : {"--out-dir", "out", "-j", "1", "--precision", "32"}) a.push_back(arg);
    for (const char* arg : {"--out-dir", "out2", "--jobs=2", "--precision", "32"}) b.push_back(arg);
    ASSERT_EQ(runTool(a, folder.path).status, 0);
    ASSERT_EQ(runTool(b, folder.path).status, 0);
    for (const std::string& name : inputs)
        EXPECT_TRUE(sameAudio(folder.file("out/" + name), folder.file("out2/" + name))) << name;
    // Each file through its own instance: the copies come out alike.
    EXPECT_EQ(bytes(folder.file("out2/copy0.wav")), bytes(folder.file("out2/copy3.wav")));
    EXPECT_EQ(bytes(folder.file("out2/copy0.wav")), bytes(folder.file("out2/one.wav")));
}

// Two names are INPUT OUTPUT, whatever is on the disk; two inputs take --out-dir.
TEST_F(Batch, TwoNamesAreAlwaysInputAndOutput) {
    ASSERT_EQ(runTool({"one.wav", "new.wav"}, folder.path).status, 0);
    const std::string before = bytes(folder.file("new.wav"));
    const auto entries = folder.entries();

    ToolRun run = runTool({"one.wav", "new.wav"}, folder.path);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("new.wav exists; add --force to replace it, or --out-dir DIR to render both files"),
              std::string::npos) << run.err;
    EXPECT_EQ(folder.entries(), entries) << "nothing written";
    EXPECT_EQ(bytes(folder.file("new.wav")), before);

    run = runTool({"two.flac", "new.wav", "--force"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readAudio(folder.file("new.wav")).info.channels, 1) << "replaced by the mono render";

    run = runTool({"one.wav", "new.wav", "--out-dir", "made/deeper"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("made the output folder made/deeper"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::exists(folder.file("made/deeper/one.wav")));
    EXPECT_TRUE(fs::exists(folder.file("made/deeper/new.wav")));
}

TEST_F(Batch, WhatABatchCannotTakeIsRefusedBeforeAnythingIsWritten) {
    const auto before = folder.entries();
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"one.wav", "two.flac", "three.aif", "-o", "x.wav"}, "several inputs take --out-dir"},
        {{"one.wav", "two.flac", "--out-dir", "out", "--plot", "p.png"},
         "--plot belongs to a render of one file"},
        {{"one.wav", "two.flac", "--out-dir", "out", "--report", "r.json"}, "--report belongs"},
        {{"one.wav", "two.flac", "--out-dir", "one.wav"}, "the output folder one.wav is a file"},
        {{"one.wav", "out/../one.wav", "--out-dir", "out"}, "two outputs would be written to"},
        {{"one.wav", "one-brassel.wav", "two.flac"}, "an input of this batch"},
        {{"one.wav", "two.flac", "--out-dir", "out", "--set", "Attack=3"},
         "no parameter named \"Attack\""},
        {{"one.wav", "two.flac", "--out-dir", "out", "-j", "0"}, "-j needs a whole number"},
        {{"--out-dir", "out"}, "--out-dir needs the input files"},
    };
    for (const auto& [args, words] : refused) {
        const ToolRun run = runTool(args, folder.path);
        EXPECT_EQ(run.status, 2) << words << ": " << run.err;
        EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
        EXPECT_EQ(count(run.err, "\n"), 1) << run.err;
        EXPECT_TRUE(fs::is_empty(folder.file("out")));
        EXPECT_EQ(folder.entries(), before);
    }
    // A plug-in that cannot be loaded fails once, not once per file.
    const ToolRun run =
        runTool({"one.wav", "two.flac", "--out-dir", "out", "--plugin", "absent.so"}, folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(count(run.err, "\n"), 1) << run.err;
    EXPECT_TRUE(fs::is_empty(folder.file("out")));
}

TEST_F(Batch, ExistingOutputsAreLeftAloneUnlessForced) {
    ASSERT_EQ(runTool({"one.wav", "two.flac", "--out-dir", "out"}, folder.path).status, 0);
    const std::string kept = bytes(folder.file("out/one.wav"));
    ToolRun run = runTool({"three.aif", "one.wav", "two.flac", "--out-dir", "out"}, folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(count(run.err, "exists; add --force"), 2) << run.err;
    EXPECT_TRUE(fs::exists(folder.file("out/three.aif"))) << "the others complete";
    EXPECT_EQ(bytes(folder.file("out/one.wav")), kept);
    run = runTool({"three.aif", "one.wav", "two.flac", "--out-dir", "out", "--force", "-q"},
                  folder.path);
    EXPECT_EQ(run.status, 0) << run.err;
}

// Ctrl+C in the middle of a batch: the files under way are dropped, the
// finished ones stay, and nothing partial is left in any folder.
TEST_F(Batch, InterruptedBatchLeavesNoPartialFile) {
    writeAudio(folder.file("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
               testSignal(2, 48000, 20.0));
    std::vector<std::string> args = {KVBR_RENDER_PATH};
    for (int i = 0; i < 8; ++i) {
        const std::string name = "long" + std::to_string(i) + ".wav";
        fs::copy_file(folder.file("long.wav"), folder.file(name));
        args.push_back(name);
    }
    for (const char* a : {"--out-dir", "out", "-j", "2", "-q"}) args.push_back(a);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (chdir(folder.path.c_str()) != 0) _exit(99);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        dup2(quiet, 2);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(98);
    }
    // Until the first staged file shows, then Ctrl+C.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (leftovers(folder.file("out")).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the batch finished before the interrupt arrived";
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_TRUE(leftovers(folder.path).empty());
    for (const auto& e : fs::directory_iterator(folder.file("out")))
        EXPECT_EQ(readAudio(e.path().string()).info.frames, 48000 * 20)
            << "finished files are whole";
}
