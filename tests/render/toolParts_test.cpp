// The renderer's parts on their own: options, statistics, the progress bar,
// staged outputs, audio file conversion and the demo material.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "audioFile.h"
#include "demoMaterial.h"
#include "options.h"
#include "progressBar.h"
#include "renderTestSupport.h"
#include "stagedOutput.h"
#include "batch.h"
#include "statistics.h"
#include "summary.h"
#include "toolError.h"

namespace fs = std::filesystem;
using namespace render;

TEST(Options, ReadsEveryForm) {
    const Options o = parseOptions({"in.wav", "--set", "Ratio=4:1", "--set=5=0.5", "--block=64",
                                    "--precision", "32", "--plot", "p.png", "--float", "-o", "out.wav"});
    EXPECT_EQ(o.input.value_or(""), "in.wav");
    EXPECT_EQ(o.output.value_or(""), "out.wav");
    EXPECT_EQ(o.sets, (std::vector<std::string>{"Ratio=4:1", "5=0.5"}));
    EXPECT_EQ(o.blockSize, 64);
    EXPECT_EQ(o.precision, 32);
    EXPECT_TRUE(o.floatOutput);
    EXPECT_EQ(o.plot.value_or(""), "p.png");
    EXPECT_EQ(parseOptions({"--", "-odd.wav"}).input.value_or(""), "-odd.wav");
    EXPECT_EQ(parseOptions({}).input, std::nullopt) << "no input: the demo";
    EXPECT_EQ(parseOptions({"--bench", "--plugin", "a.so", "--plugin", "b.so"}).plugins.size(), 2u);
}

TEST(Options, SeveralInputsOrAnOutputFolderMakeABatch) {
    const Options three = parseOptions({"a.wav", "b.flac", "c.aif", "-j", "3"});
    EXPECT_TRUE(three.batch);
    EXPECT_EQ(three.files, (std::vector<std::string>{"a.wav", "b.flac", "c.aif"}));
    EXPECT_EQ(three.input, std::nullopt);
    EXPECT_EQ(three.jobs, 3);
    const Options two = parseOptions({"a.wav", "b.wav"});
    EXPECT_FALSE(two.batch) << "two names stay INPUT OUTPUT here; main looks at the second";
    EXPECT_EQ(two.input.value_or(""), "a.wav");
    EXPECT_EQ(two.output.value_or(""), "b.wav");
    const Options folder = parseOptions({"a.wav", "b.wav", "--out-dir", "rendered"});
    EXPECT_TRUE(folder.batch);
    EXPECT_EQ(folder.outDir.value_or(""), "rendered");
    EXPECT_EQ(folder.output, std::nullopt);
    EXPECT_TRUE(parseOptions({"a.wav", "--out-dir=rendered"}).batch) << "one file into a folder";
    Options o;
    o.files = {"a.wav", "b.wav"};
    o.outDir = "out";
    EXPECT_EQ(batchOutputs(o), (std::vector<std::string>{"out/a.wav", "out/b.wav"}));
    o.outDir.reset();
    o.files = {"dir/a.wav", "b.flac"};
    EXPECT_EQ(batchOutputs(o), (std::vector<std::string>{"dir/a-brassel.wav", "b-brassel.flac"}));
}

TEST(Options, RefusesContradictions) {
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--preset", "Vox", "--slot", "3"},
             {"--preset-file", "a.kvp", "--bank-file", "b.kvb"},
             {"--plugin", "a.so", "--plugin", "b.so"},
             {"--vst2", "--plugin", "a.so"},
             {"--bench", "--vst2", "--plugin", "a.so", "--preset", "Vox"},
             {"--bench", "in.wav"},
             {"--list", "in.wav"},
             {"in.wav", "out.wav", "-o", "x.wav"},
             {"--runs", "0"},
             {"--block"},
             {"--force=yes"},
             {"--output", ""},
             {"a.wav", "b.wav", "c.wav", "-o", "x.wav"},
             {"a.wav", "b.wav", "--out-dir", "d", "--plot", "p.png"},
             {"--out-dir", "d"},
             {"--bench", "--out-dir", "d"},
             {"a.wav", "b.wav", "c.wav", "--jobs", "0"},
         }) {
        EXPECT_THROW(parseOptions(bad), UsageError) << bad.front();
    }
}

TEST(Statistics, PeakRmsAndGainReduction) {
    RenderStatistics st(2, 1000.0, 1000, 10);
    std::vector<double> in(2 * 500), out(2 * 500);
    for (int i = 0; i < 500; ++i) {
        in[2 * i] = in[2 * i + 1] = (i % 2 ? 0.5 : -0.5);
        out[2 * i] = out[2 * i + 1] = (i % 2 ? 0.25 : -0.25);
    }
    st.addBlock(in.data(), out.data(), 500, 0.5);   // 6.02 dB
    st.addBlock(in.data(), out.data(), 500, 1.02);  // overshoot: no reduction
    EXPECT_EQ(st.frames(), 1000);
    EXPECT_DOUBLE_EQ(st.inputPeak(), 0.5);
    EXPECT_DOUBLE_EQ(st.outputRms(), 0.25);
    EXPECT_NEAR(toDecibels(st.inputRms()), -6.0206, 1e-3);
    EXPECT_NEAR(st.maximumReductionDb(), 6.0206, 1e-3);
    EXPECT_NEAR(st.averageReductionDb(), 3.0103, 1e-3);
    EXPECT_EQ(st.timeline().size(), 10u);
    EXPECT_EQ(st.timeline()[4].reductionCount, 1) << "the reading belongs to the block's last frame";
    EXPECT_TRUE(std::isinf(toDecibels(0.0)));

    RenderStatistics silent(1, 48000.0, 10);
    std::vector<double> zeros(10, 0.0);
    silent.addBlock(zeros.data(), zeros.data(), 10, std::nullopt);
    EXPECT_FALSE(silent.hasGainReduction());
    RenderSummary summary;
    summary.statistics = &silent;
    summary.input.channels = 1;
    const std::string json = summaryJson(summary);
    EXPECT_NE(json.find("\"inputPeakDbfs\": null"), std::string::npos) << "JSON has no -inf";
    EXPECT_NE(json.find("\"gainReduction\": null"), std::string::npos);
}

TEST(ProgressBar, StaysQuietForTheFirstSecondThenDraws) {
    double now = 0.0;
    const std::string path = (fs::temp_directory_path() / "kvbr-progress-test.txt").string();
    std::FILE* out = std::fopen(path.c_str(), "w+");
    ASSERT_NE(out, nullptr);
    {
        ProgressBar bar(out, true, 1000, 100.0, 60, [&] { return now; });
        now = 0.9;
        bar.update(400);
        EXPECT_FALSE(bar.hasDrawn());
        now = 1.2;
        bar.update(500);
        EXPECT_TRUE(bar.hasDrawn());
        bar.finish();
    }
    std::fclose(out);
    std::ifstream in(path);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(path);
    EXPECT_NE(written.find(" 50%"), std::string::npos) << written;
    EXPECT_EQ(written.back(), '\r') << "the bar is wiped at the end";
    const std::string line = ProgressBar::line(500, 1000, 100.0, 1.25, 60);
    EXPECT_EQ(line.size(), 59u);
    EXPECT_NE(line.find("5.0 / 10.0 s  4x"), std::string::npos) << line;
}

TEST(StagedOutput, AppearsOnlyWhenCommitted) {
    ScratchFolder folder;
    const std::string target = folder.file("result.wav");
    {
        StagedOutput staged(target);
        std::ofstream(staged.path()) << "half";
        EXPECT_EQ(fs::path(staged.path()).parent_path(), fs::path(target).parent_path());
    }
    EXPECT_TRUE(folder.entries().empty()) << "an abandoned output leaves nothing";
    {
        StagedOutput staged(target);
        std::ofstream(staged.path()) << "whole";
        staged.commit();
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"result.wav"});
    EXPECT_THROW(checkOutputPath(target, std::nullopt, false, "output"), UsageError);
    EXPECT_NO_THROW(checkOutputPath(target, std::nullopt, true, "output"));
    EXPECT_THROW(checkOutputPath(target, target, true, "output"), UsageError);
}

TEST(AudioFiles, IntegerSamplesPassThroughBitForBit) {
    ScratchFolder folder;
    std::vector<double> steps;
    for (int k = -32768; k < 32768; k += 7) steps.push_back(k / 32768.0);
    steps.push_back(32767 / 32768.0);
    {
        AudioFileWriter writer(folder.file("steps.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                               "steps.wav");
        writer.write(steps.data(), static_cast<int>(steps.size()));
        writer.close();
    }
    AudioFileReader reader(folder.file("steps.wav"));
    EXPECT_EQ(reader.info().describe(), "WAV 16-bit");
    std::vector<double> back(steps.size());
    ASSERT_EQ(reader.read(back.data(), static_cast<int>(back.size())), static_cast<int>(steps.size()));
    EXPECT_EQ(back, steps);
}

TEST(AudioFiles, OutputFormatFollowsNameAndInput) {
    AudioInfo flac;
    flac.channels = 2;
    flac.sampleRate = 44100;
    flac.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    EXPECT_EQ(outputFormatFor(flac, "x.flac", false), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(outputFormatFor(flac, "x.WAV", false), SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(outputFormatFor(flac, "x.aiff", true), SF_FORMAT_AIFF | SF_FORMAT_FLOAT);
    EXPECT_EQ(outputFormatFor(flac, "x.out", false), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_THROW(outputFormatFor(flac, "x.flac", true), UsageError);
    AudioInfo aiff8 = flac;
    aiff8.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_S8;
    EXPECT_EQ(outputFormatFor(aiff8, "x.wav", false), SF_FORMAT_WAV | SF_FORMAT_PCM_U8)
        << "8-bit WAV is unsigned";
}

TEST(DemoMaterial, EightSecondsOfRepeatableDrumsAndBassWithDynamics) {
    const std::vector<double> loop = synthesiseDemoLoop();
    ASSERT_EQ(loop.size(), 2u * 8u * 48000u);
    EXPECT_EQ(loop, synthesiseDemoLoop()) << "the same every time";
    double peak = 0.0;
    for (double s : loop) peak = std::max(peak, std::fabs(s));
    EXPECT_NEAR(toDecibels(peak), -1.0, 0.01);
    auto rmsDb = [&](double from, double to) {
        double sum = 0.0;
        const size_t a = static_cast<size_t>(from * 48000) * 2, b = static_cast<size_t>(to * 48000) * 2;
        for (size_t i = a; i < b; ++i) sum += loop[i] * loop[i];
        return toDecibels(std::sqrt(sum / (b - a)));
    };
    // A quiet intro, the full groove, a breakdown: a compressor has work to do.
    EXPECT_LT(rmsDb(0.0, 1.33), rmsDb(2.67, 5.33) - 6.0);
    EXPECT_LT(rmsDb(5.34, 6.6), rmsDb(2.67, 5.33) - 3.0);
    EXPECT_EQ(benchSignal(60.0).size(), 2u * 60u * 48000u);
}
