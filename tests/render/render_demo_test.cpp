// The demo, the benchmark and third-party plug-ins, as a user runs them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

#include "renderTestSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kFixtures = KVBR_FIXTURE_DIR;
const std::string kLspCompressor = "/usr/lib/vst/lsp-plugins/compressor-stereo.so";

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

double jsonNumber(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9.]+)"))) return std::nan("");
    return std::stod(m[1]);
}

}  // namespace

TEST(Demo, RendersTheLoopThroughTheDefaultPreset) {
    ScratchFolder folder;
    const ToolRun run = runTool({"--report", "demo-report.json"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("preset Default: Process Valve, Ratio 3:1, Time 5.00, Compression 5.00, Output 0.00"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("gain reduction  average"), std::string::npos) << run.out;

    const Decoded out = readAudio(folder.file("demo/out.wav"));
    EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(out.info.samplerate, 48000);
    EXPECT_EQ(out.info.channels, 2);
    EXPECT_EQ(out.info.frames, 8 * 48000);
    EXPECT_EQ(readAudio(folder.file("demo/in.wav")).info.frames, 8 * 48000);
    EXPECT_EQ(slurp(folder.file("demo/gain-reduction.png")).substr(1, 3), "PNG");
    EXPECT_EQ(slurp(folder.file("demo/editor.png")).substr(1, 3), "PNG");
    EXPECT_NE(run.out.find("wrote           demo/editor.png"), std::string::npos) << run.out;

    // Real dynamics meet real compression.
    const std::string json = slurp(folder.file("demo-report.json"));
    EXPECT_GT(jsonNumber(json, "averageDb"), 1.0) << json;
    EXPECT_GT(jsonNumber(json, "maximumDb"), 4.0) << json;
    EXPECT_LT(jsonNumber(json, "maximumDb"), 20.0) << json;

    // A second run does not replace the demo's files unasked.
    const ToolRun again = runTool({}, folder.path);
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("exists; add --force"), std::string::npos) << again.err;
    EXPECT_EQ(runTool({"--force", "-q"}, folder.path).status, 0);
}

TEST(Bench, MeasuresSeveralPluginsInOneRun) {
    ScratchFolder folder;
    const ToolRun run = runTool({"--bench", "--runs", "2", "--plugin", KVBR_PLUGIN_PATH, "--plugin",
                                 kFixtures + "/kvbr_fixture_gain.so"},
                                folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::regex row(R"(\| ([^|]+) \| (32|64)-bit \| ([0-9.]+) \| ([0-9.]+) \| ([0-9]+)x \| ([0-9.]+) \|)");
    std::vector<std::smatch> rows;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), row); it != std::sregex_iterator(); ++it)
        rows.push_back(*it);
    ASSERT_EQ(rows.size(), 3u) << run.out;
    EXPECT_EQ(rows[0][1], "Korvane Brassel (built-in)");
    EXPECT_EQ(rows[0][2], "64");
    EXPECT_EQ(rows[0][6], "1.00") << "the first is the reference";
    EXPECT_EQ(rows[1][1], "Korvane Brassel (korvane-brassel.so)");
    EXPECT_EQ(rows[1][2], "64");
    EXPECT_EQ(rows[2][1], "Fixture Gain (kvbr_fixture_gain.so)");
    EXPECT_EQ(rows[2][2], "32") << "an effect without 64-bit processing is measured in 32-bit";
    for (const auto& r : rows) {
        EXPECT_GT(std::stod(r[3]), 0.0);
        EXPECT_LE(std::stod(r[4]), std::stod(r[3])) << "the minimum is not above the median";
    }
    EXPECT_TRUE(folder.entries().empty()) << "the bench writes no files";
}

TEST(Bench, BothWidthsWhereThePluginHasThem) {
    ScratchFolder folder;
    const ToolRun run = runTool({"--bench", "--runs", "1", "--precision", "both", "--plugin", KVBR_PLUGIN_PATH,
                                 "--plugin", kFixtures + "/kvbr_fixture_gain.so"},
                                folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::regex row(R"(\| ([^|]+) \| (32|64)-bit \|)");
    std::vector<std::string> rows;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), row); it != std::sregex_iterator(); ++it)
        rows.push_back((*it)[1].str() + " " + (*it)[2].str());
    EXPECT_EQ(rows, (std::vector<std::string>{"Korvane Brassel (built-in) 32", "Korvane Brassel (built-in) 64",
                                              "Korvane Brassel (korvane-brassel.so) 32",
                                              "Korvane Brassel (korvane-brassel.so) 64",
                                              "Fixture Gain (kvbr_fixture_gain.so) 32"}))
        << run.out;
    EXPECT_EQ(runTool({"in.wav", "--precision", "both"}, folder.path).status, 2) << "only for --bench";
}

TEST(ThirdParty, DebianLspCompressor) {
    if (!fs::exists(kLspCompressor)) GTEST_SKIP() << "lsp-plugins-vst is not installed";
    ScratchFolder folder;
    writeAudio(folder.file("mono.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 44100, testSignal(1, 44100, 1.0));
    // Foreign code may keep memory to the end; only this test forgives it.
    const ToolRun run = runTool({"mono.wav", "out.wav", "--plugin", kLspCompressor, "--set", "cr=8",
                                 "--set", "al=-30", "--report", "r.json"},
                                folder.path, "ASAN_OPTIONS=detect_leaks=0");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string json = slurp(folder.file("r.json"));
    EXPECT_NE(json.find("\"gainReduction\": null"), std::string::npos) << "only this plug-in has the meter";
    EXPECT_LT(jsonNumber(json, "outputRmsDbfs"), jsonNumber(json, "inputRmsDbfs") - 3.0) << json;
    EXPECT_EQ(readAudio(folder.file("out.wav")).info.channels, 1);
}
