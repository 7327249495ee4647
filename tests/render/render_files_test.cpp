// kvbr-render on real files: every supported layout, rate and encoding comes
// out sample for sample as the test host renders it, in the input's format.
#include <gtest/gtest.h>

#include <cmath>

#include "renderTestSupport.h"

namespace {

struct FileCase {
    const char* name;
    int channels;
    double rate;
    int format;
    int block;
    int precision;
    const char* extension;
};

// One set of values for every case: Valve, 4:1, Time 3, Compression 7, Output 3 dB.
const std::vector<std::pair<int, float>> kValues = {
    {0, 1.0f}, {2, 0.6666667f}, {4, 0.3f}, {5, 0.7f}, {6, 0.1f}};

std::vector<std::string> setArguments() {
    return {"--set", "0=1", "--set", "2=0.6666667", "--set", "4=0.3", "--set", "5=0.7", "--set", "6=0.1"};
}

class RenderFiles : public ::testing::TestWithParam<FileCase> {};

}  // namespace

TEST_P(RenderFiles, OutputMatchesTheTestHostSampleForSample) {
    const FileCase& c = GetParam();
    ScratchFolder folder;
    const std::string input = std::string("in.") + c.extension;
    const std::string output = std::string("out.") + c.extension;
    writeAudio(folder.file(input), c.format, c.channels, c.rate, testSignal(c.channels, c.rate, 0.7));

    std::vector<std::string> args = {input, output, "--block", std::to_string(c.block), "--precision",
                                     std::to_string(c.precision)};
    for (const auto& a : setArguments()) args.push_back(a);
    const ToolRun run = runTool(args, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;

    const Decoded in = readAudio(folder.file(input));
    const Decoded out = readAudio(folder.file(output));
    EXPECT_EQ(out.info.format, in.info.format) << "the output keeps the input's format";
    EXPECT_EQ(out.info.samplerate, in.info.samplerate);
    EXPECT_EQ(out.info.channels, c.channels);
    ASSERT_EQ(out.info.frames, in.info.frames);

    const std::vector<double> expected =
        renderWithTestHost(in.samples, c.channels, c.rate, c.block, c.precision == 64, kValues);
    const int bits = pcmBits(c.format);
    size_t differences = 0, firstDifference = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        bool same;
        if (bits) {
            // Rounded to the file's step and held at full scale.
            const double scale = std::ldexp(1.0, bits - 1);
            const double q = std::clamp(std::nearbyint(expected[i] * scale), -scale, scale - 1.0);
            same = out.integers[i] == static_cast<int>(q);
        } else {
            same = static_cast<float>(out.samples[i]) == static_cast<float>(expected[i]);
        }
        if (!same && differences++ == 0) firstDifference = i;
    }
    EXPECT_EQ(differences, 0u) << "first at sample " << firstDifference;

    // The compressor did something: the output is not the input.
    double change = 0.0;
    for (size_t i = 0; i < expected.size(); ++i) change += std::fabs(out.samples[i] - in.samples[i]);
    EXPECT_GT(change / expected.size(), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RenderFiles,
    ::testing::Values(
        FileCase{"Mono44k16bitWav", 1, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 512, 32, "wav"},
        FileCase{"Stereo48k24bitWav", 2, 48000, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 256, 64, "wav"},
        FileCase{"Stereo96kFloatWav", 2, 96000, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1000, 32, "wav"},
        FileCase{"Mono96k24bitFlac", 1, 96000, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 64, 64, "flac"},
        FileCase{"Stereo44k16bitFlac", 2, 44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 333, 32, "flac"},
        FileCase{"Mono48kFloatWav", 1, 48000, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4096, 64, "wav"},
        FileCase{"Stereo48k16bitAiff", 2, 48000, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 128, 64, "aiff"}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

TEST(RenderFiles, FloatOptionWritesFloatSamplesUnclipped) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000,
               testSignal(2, 48000, 0.5));
    // 30 dB of make-up gain drives the output far above full scale.
    const ToolRun run = runTool({"in.wav", "out.wav", "--float", "--set", "0=0.5", "--set", "6=1"},
                                folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    const Decoded out = readAudio(folder.file("out.wav"));
    EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    double peak = 0.0;
    for (double s : out.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 1.5) << "float output keeps what lies above full scale";
}

TEST(RenderFiles, IntegerOutputClipsInsteadOfWrapping) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 48000,
               testSignal(1, 48000, 0.5));
    const ToolRun run = runTool({"in.wav", "out.wav", "--set", "0=0.5", "--set", "6=1"}, folder.path);
    ASSERT_EQ(run.status, 0) << run.err;
    const Decoded in = readAudio(folder.file("in.wav"));
    const Decoded out = readAudio(folder.file("out.wav"));
    // With 30 dB of gain every loud input sample must come out at full scale with its own sign.
    int held = 0;
    for (size_t i = 0; i < out.integers.size(); ++i) {
        if (std::fabs(in.samples[i]) < 0.3) continue;
        EXPECT_EQ(out.integers[i] > 0, in.samples[i] > 0) << "sample " << i << " wrapped around";
        held += std::abs(out.integers[i]) >= 32767;
    }
    EXPECT_GT(held, 0);
}

TEST(RenderFiles, OutputNameChoosesTheContainer) {
    ScratchFolder folder;
    writeAudio(folder.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100,
               testSignal(2, 44100, 0.3));
    ASSERT_EQ(runTool({"in.wav", "out.flac"}, folder.path).status, 0);
    EXPECT_EQ(readAudio(folder.file("out.flac")).info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    ASSERT_EQ(runTool({"in.wav"}, folder.path).status, 0);
    EXPECT_EQ(readAudio(folder.file("in-brassel.wav")).info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24)
        << "without OUTPUT the result lands beside the input";
}
