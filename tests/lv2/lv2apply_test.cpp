// Debian's lv2apply, a host we did not write, renders generated files through
// both plug-ins exactly as the VST 2.x plug-in renders them.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "lv2Reference.h"

namespace {

namespace fs = std::filesystem;

void writeFloatWav(const fs::path& path, const Channels& in, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = static_cast<int>(in.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<float> frames(in[0].size() * in.size());
    for (size_t i = 0; i < in[0].size(); ++i)
        for (size_t c = 0; c < in.size(); ++c) frames[i * in.size() + c] = in[c][i];
    sf_writef_float(file, frames.data(), static_cast<sf_count_t>(in[0].size()));
    sf_close(file);
}

Channels readWav(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return {};
    std::vector<float> frames(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    Channels out(info.channels, std::vector<float>(info.frames));
    for (sf_count_t i = 0; i < info.frames; ++i)
        for (int c = 0; c < info.channels; ++c) out[c][i] = frames[i * info.channels + c];
    return out;
}

std::string lv2apply(const fs::path& in, const fs::path& out, const PortSettings& s, const char* uri) {
    std::string command = "lv2apply -i '" + in.string() + "' -o '" + out.string() + "'";
    for (int c = 0; c < controls::kCount; ++c)
        command += std::string(" -c ") + controls::kControls[c].symbol + " " + std::to_string(s.value(c));
    return command + " '" + uri + "' 2>&1";
}

}  // namespace

TEST(Lv2Apply, RendersGeneratedFilesAsTheVstPlugin) {
    const fs::path dir = fs::path(KVBR_TEST_OUTPUT_DIR) / "lv2apply";
    fs::create_directories(dir);
    // Only our bundle; a sanitizer build's plug-in needs its runtime loaded first.
    setenv("LV2_PATH", fs::path(KVBR_LV2_BUNDLE).parent_path().c_str(), 1);
#ifdef KVBR_SANITIZER_RUNTIME
    setenv("LD_PRELOAD", KVBR_SANITIZER_RUNTIME, 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
#endif
    const PortSettings settings[] = {{}, {1, 6, 0.5f, 9, 4.5f}, {2, 1, 8, 3.25f, 10}};
    struct Case {
        const char* uri;
        int channels;
        int rate;
    };
    for (const Case& c : {Case{lv2ports::kStereoUri, 2, 44100}, Case{lv2ports::kMonoUri, 1, 48000},
                          Case{lv2ports::kStereoUri, 2, 96000}}) {
        const Channels in = testSignal(c.channels, c.rate, 7);
        const fs::path input = dir / ("in-" + std::to_string(c.channels) + "-" + std::to_string(c.rate) + ".wav");
        // lv2apply maps a file's channels onto every audio input, the key's too: silent ones here.
        Channels file = in;
        file.insert(file.end(), in.size(), std::vector<float>(in[0].size()));
        writeFloatWav(input, file, c.rate);
        for (const PortSettings& s : settings) {
            const fs::path output = dir / "out.wav";
            fs::remove(output);
            const std::string command = lv2apply(input, output, s, c.uri);
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            VstReference vst(c.rate, c.channels == 1);
            vst.apply(s);
            EXPECT_TRUE(sameSamples(readWav(output), vst.process(in))) << command;
        }
    }
#ifdef KVBR_SANITIZER_RUNTIME
    unsetenv("LD_PRELOAD");
#endif
}
