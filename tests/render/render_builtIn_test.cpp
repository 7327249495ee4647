// The compressor built into the tool against Korvane Brassel's VST 2.x
// plug-in loaded by the same tool: the same samples, texts, meter and listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/render/builtInEffect.h"
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

// The built-in compressor's own settings, which the VST 2.x plug-in has not
// (parameters 12 to 15), taken out of its report or listing.
std::string withoutSettings(std::string text, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        const size_t at = text.find(entry);
        text = at == std::string::npos ? text + " (no " + entry + ")" : text.erase(at, entry.size());
    }
    return text;
}

std::string reportEntry(int index, const char* name, const char* value, const char* display) {
    return std::string(",\n    {\"index\": ") + std::to_string(index) + ", \"name\": \"" + name +
           "\", \"value\": " + value + ", \"display\": \"" + display + "\"}";
}

// A listing's lines with every run of spaces as one.
std::vector<std::string> squeezed(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (std::string line : lines) {
        line.erase(std::unique(line.begin(), line.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
                   line.end());
        out.push_back(line);
    }
    return out;
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
            EXPECT_EQ(withoutSettings(result, {reportEntry(12, "Oversampling", "0.000000", "Off"),
                                               reportEntry(13, "Mix", "1.000000", "100%"),
                                               reportEntry(14, "Sidechain Filter", "0.000000", "Off"),
                                               reportEntry(15, "Key", "0.000000", "Internal")}),
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
    // Besides, the built-in compressor has the instance's settings, 12 to 15.
    const std::string listed = withoutSettings(
        builtIn.out, {"   12  Oversampling     Off        Off, 2x, 4x\n", "   13  Mix              100%       0% to 100%\n",
                      "   14  Sidechain Filter Off        Off, 60 Hz, 90 Hz, 150 Hz, 250 Hz\n",
                      "   15  Key              Internal   Internal, External\n", "16 parameters"});
    std::vector<std::string> a = squeezed(lines(listed)),
                             b = squeezed(lines(withoutSettings(plugin.out, {"12 parameters"})));
    ASSERT_EQ(a.size(), b.size()) << builtIn.out << plugin.out;
    ASSERT_GT(a.size(), 40u) << "parameters and factory presets";
    EXPECT_EQ(a[3], " built into kvbr-render");
    EXPECT_TRUE(std::filesystem::equivalent(b[3].substr(1), KVBR_PLUGIN_PATH)) << b[3];
    a.erase(a.begin() + 3);
    b.erase(b.begin() + 3);
    EXPECT_EQ(a, b);
}

// --key: the detector hears the file given, at the input's rate, and silence
// after its end; the samples are the core's with that key.
TEST(BuiltIn, AKeyFileIsWhatTheDetectorHears) {
    ScratchFolder folder;
    const double rate = 48000.0;
    const std::vector<double> input = testSignal(2, rate, 1.0, 0.3);
    std::vector<double> key(static_cast<size_t>(rate / 2));  // half a second of bursts, mono
    for (size_t i = 0; i < key.size(); ++i)
        key[i] = (i / 4800) % 2 ? 0.0 : 0.9 * std::sin(i * 0.02);
    writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 2, rate, input);
    writeAudio(folder.file("key.wav"), SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, rate, key);
    writeAudio(folder.file("key44.wav"), SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 44100, key);
    const ToolRun keyed = runTool({"in.wav", "keyed.wav", "--key", "key.wav", "--precision", "64", "--set",
                                   "Compression=8", "--set", "Sidechain Filter=90 Hz"},
                                  folder.path);
    ASSERT_EQ(keyed.status, 0) << keyed.err;
    EXPECT_NE(keyed.out.find("Key External"), std::string::npos) << keyed.out;

    // The tool's own compressor driven directly, the key handed over block by block.
    render::BuiltInEffect effect;
    for (const auto& [name, value] : {std::pair{"Compression", 0.8f}, std::pair{"Sidechain Filter", 0.5f},
                                      std::pair{"Key", 1.0f}})
        effect.setParameter(*effect.controlParameter(name), value);
    effect.start(rate, 512, 2, true);
    const size_t frames = input.size() / 2;
    std::vector<double> inL(frames), inR(frames), outL(frames), outR(frames), keyed64(frames);
    // As the tool reads them back from the files.
    const std::vector<double> read = readAudio(folder.file("in.wav")).samples;
    const std::vector<double> keyRead = readAudio(folder.file("key.wav")).samples;
    for (size_t i = 0; i < frames; ++i) {
        inL[i] = read[2 * i];
        inR[i] = read[2 * i + 1];
        keyed64[i] = i < keyRead.size() ? keyRead[i] : 0.0;
    }
    for (size_t done = 0; done < frames; done += 512) {
        const int n = static_cast<int>(std::min<size_t>(512, frames - done));
        const std::vector<const double*> in = {inL.data() + done, inR.data() + done}, k = {keyed64.data() + done};
        effect.process(in, {outL.data() + done, outR.data() + done}, n, &k);
    }
    const Decoded out = readAudio(folder.file("keyed.wav"));
    ASSERT_EQ(out.samples.size(), input.size());
    size_t differing = 0;
    for (size_t i = 0; i < frames; ++i) differing += out.samples[2 * i] != outL[i] || out.samples[2 * i + 1] != outR[i];
    EXPECT_EQ(differing, 0u);
    // Without the key the same settings sound otherwise: it was heard.
    ASSERT_EQ(runTool({"in.wav", "plain.wav", "--precision", "64", "--set", "Compression=8"}, folder.path).status, 0);
    EXPECT_NE(readAudio(folder.file("plain.wav")).samples, out.samples);

    const ToolRun otherRate = runTool({"in.wav", "x.wav", "--key", "key44.wav"}, folder.path);
    EXPECT_EQ(otherRate.status, 1);
    EXPECT_NE(otherRate.err.find("44100 Hz, the input at 48000 Hz"), std::string::npos) << otherRate.err;
    const ToolRun plugin = runTool({"in.wav", "x.wav", "--key", "key.wav", "--plugin", KVBR_PLUGIN_PATH}, folder.path);
    EXPECT_EQ(plugin.status, 2);
    EXPECT_NE(plugin.err.find("no key input"), std::string::npos) << plugin.err;
}
