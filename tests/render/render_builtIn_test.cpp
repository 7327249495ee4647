// The compressor built into the tool against Korvane Brassel's VST 2.x
// plug-in loaded by the same tool: the same samples, texts, meter and listing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "renderTestSupport.h"

namespace {

// What a report says of the settings, levels and gain reduction (not who
// rendered it, nor how fast).
std::string reportedResult(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    const std::string json = s.str();
    const size_t from = json.find("\"processing\""), to = json.find("\"elapsedSeconds\"");
    return from == std::string::npos || to == std::string::npos ? "" : json.substr(from, to - from);
}

// The built-in compressor's own setting, which the VST 2.x plug-in has not,
// taken out of its report or listing.
std::string withoutOversampling(std::string text, const std::string& entry) {
    const size_t at = text.find(entry);
    return at == std::string::npos ? text + " (no " + entry + ")" : text.erase(at, entry.size());
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) all.push_back(line);
    return all;
}

}  // namespace

TEST(BuiltIn, RendersAsThePluginDoesInEitherLayoutAndPrecision) {
    ScratchFolder folder;
    for (int channels : {1, 2}) {
        // 64-bit float files keep every bit of a 64-bit render.
        const std::string input = "in" + std::to_string(channels) + ".wav";
        writeAudio(folder.file(input), SF_FORMAT_WAV | SF_FORMAT_DOUBLE, channels, 44100,
                   testSignal(channels, 44100, 0.6));
        const Decoded in = readAudio(folder.file(input));
        for (const std::string precision : {"32", "64"}) {
            const std::string what = std::to_string(channels) + " channel(s), " + precision + "-bit";
            const std::vector<std::string> common = {input, "--force", "--precision", precision, "--block", "300",
                                                     "--preset", "Vox", "--set", "Ratio=6:1", "--set",
                                                     "compression=7.25", "--set", "Output=3.5"};
            std::vector<std::string> builtIn = common, plugin = common;
            builtIn.insert(builtIn.end(), {"-o", "built.wav", "--report", "built.json"});
            plugin.insert(plugin.end(), {"-o", "plugin.wav", "--report", "plugin.json", "--plugin", KVBR_PLUGIN_PATH});
            const ToolRun a = runTool(builtIn, folder.path), b = runTool(plugin, folder.path);
            ASSERT_EQ(a.status, 0) << a.err;
            ASSERT_EQ(b.status, 0) << b.err;

            const Decoded built = readAudio(folder.file("built.wav"));
            EXPECT_TRUE(built.samples == readAudio(folder.file("plugin.wav")).samples) << what;
            EXPECT_NE(built.samples, in.samples) << what << ": the compressor did something";
            const std::string result = reportedResult(folder.file("built.json"));
            EXPECT_EQ(withoutOversampling(result, ",\n    {\"index\": 12, \"name\": \"Oversampling\", "
                                                  "\"value\": 0.000000, \"display\": \"Off\"}"),
                      reportedResult(folder.file("plugin.json")))
                << what;
            EXPECT_NE(result.find("\"display\": \"6:1\""), std::string::npos) << result;
            EXPECT_NE(result.find("\"display\": \"7.25\""), std::string::npos) << result;
            EXPECT_NE(result.find("\"gainReduction\": {"), std::string::npos) << result;
        }
    }
}

// --list shows the same effect either way; only where it comes from differs.
// --vst2 finds the plug-in built beside the tool.
TEST(BuiltIn, ListsAsThePluginDoes) {
    ScratchFolder folder;
    const ToolRun builtIn = runTool({"--list"}, folder.path);
    const ToolRun plugin = runTool({"--list", "--vst2"}, folder.path, "VST_PATH=");
    ASSERT_EQ(builtIn.status, 0) << builtIn.err;
    ASSERT_EQ(plugin.status, 0) << plugin.err;
    // Besides, the built-in compressor has its oversampling: a thirteenth parameter.
    std::string listed = withoutOversampling(builtIn.out, "   12  Oversampling   Off        Off, 2x, 4x\n");
    listed = withoutOversampling(listed, "13 parameters");
    std::vector<std::string> a = lines(listed), b = lines(withoutOversampling(plugin.out, "12 parameters"));
    ASSERT_EQ(a.size(), b.size()) << builtIn.out << plugin.out;
    ASSERT_GT(a.size(), 40u) << "parameters and factory presets";
    EXPECT_EQ(a[3], "  built into kvbr-render");
    EXPECT_TRUE(std::filesystem::equivalent(b[3].substr(2), KVBR_PLUGIN_PATH)) << b[3];
    a.erase(a.begin() + 3);
    b.erase(b.begin() + 3);
    EXPECT_EQ(a, b);
}
