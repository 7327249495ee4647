// kvbr-render: renders audio files, or the built-in demo loop, offline
// through the compressor linked into it (or through a VST 2.x plug-in), and
// reports what the compressor did.
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "audioFile.h"
#include "kvbrVersion.h"
#include "batch.h"
#include "bench.h"
#include "demoMaterial.h"
#include "editorShot.h"
#include "effect.h"
#include "listing.h"
#include "options.h"
#include "platform/toolEnvironment.h"
#include "plot.h"
#include "pluginSearch.h"
#include "presetSource.h"
#include "renderLoop.h"
#include "settings.h"
#include "stagedOutput.h"
#include "summary.h"
#include "toolError.h"

namespace fs = std::filesystem;

namespace render {
namespace {

constexpr const char* kVersion = KVBR_VERSION;
constexpr const char* kDemoFolder = "demo";
constexpr const char* kDemoName = "built-in demo loop";

extern "C" void onSignal(int) { requestStop(); }

bool usesDouble(const Options& options, Effect& effect) {
    return options.precision == 64 || (options.precision == 0 && effect.identity().canDouble);
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) throw ToolError("cannot write " + path);
}

void checkDistinct(const std::vector<std::string>& paths) {
    for (size_t i = 0; i < paths.size(); ++i)
        for (size_t j = i + 1; j < paths.size(); ++j)
            if (fs::absolute(paths[i]).lexically_normal() == fs::absolute(paths[j]).lexically_normal())
                throw UsageError("two outputs would be written to " + paths[i]);
}

std::string settingsLine(const RenderSummary& s) {
    std::string line = settingsText(s);
    if (!line.empty()) line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    char rest[96];
    std::snprintf(rest, sizeof(rest), "   \xc2\xb7   %g kHz %s, %d-bit processing", s.input.sampleRate / 1000.0,
                  s.input.channels == 1 ? "mono" : "stereo", s.precision);
    return line + rest;
}

std::string hertz(double rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%g Hz", rate);
    return text;
}

int renderFile(const Options& options, const std::optional<std::string>& pluginPath) {
    const bool demo = !options.input;
    std::unique_ptr<AudioSource> source;
    if (demo)
        source = std::make_unique<MemorySource>(synthesiseDemoLoop(), 2, kDemoRate, demoOutputFormat());
    else
        source = std::make_unique<AudioFileReader>(*options.input);
    const AudioInfo info = source->info();

    const bool demoDefaults = demo && !options.output;
    if (demoDefaults) fs::create_directories(kDemoFolder);
    const std::string outputPath = options.output ? *options.output
                                   : demo         ? std::string(kDemoFolder) + "/out.wav"
                                                  : defaultOutputFor(*options.input);
    std::optional<std::string> plotPath = options.plot;
    if (!plotPath && demoDefaults) plotPath = std::string(kDemoFolder) + "/gain-reduction.png";
    std::optional<std::string> demoInputPath;
    if (demoDefaults) demoInputPath = std::string(kDemoFolder) + "/in.wav";
    std::optional<std::string> editorPath = options.editorPng;
    if (!editorPath && demoDefaults) editorPath = std::string(kDemoFolder) + "/editor.png";

    const int format = demo ? (options.floatOutput ? outputFormatFor(info, outputPath, true) : demoOutputFormat())
                            : outputFormatFor(info, outputPath, options.floatOutput);
    std::vector<std::string> outputs = {outputPath};
    // Two names are INPUT OUTPUT; someone who meant two inputs learns the way to say so.
    checkOutputPath(outputPath, options.input, options.force, "output",
                    options.files.size() == 2
                        ? "add --force to replace it, or --out-dir DIR to render both files"
                        : "add --force to replace it");
    for (const auto& [path, what] : {std::pair{plotPath, "plot"}, std::pair{options.report, "report"},
                                     std::pair{demoInputPath, "demo input"},
                                     std::pair{editorPath, "editor picture"}}) {
        if (!path) continue;
        checkOutputPath(*path, options.input, options.force, what);
        outputs.push_back(*path);
    }
    checkDistinct(outputs);

    const std::unique_ptr<Effect> loaded = openEffect(pluginPath);
    Effect& effect = *loaded;
    if (editorPath && !effect.isKorvaneBrassel()) {
        // The demo run with another effect simply draws no editor.
        if (options.editorPng)
            throw UsageError("--editor-png draws Korvane Brassel's own editor; " +
                             effect.identity().displayName() + " is another effect");
        editorPath.reset();
    }
    RenderSummary summary;
    // The demo plays the "Default" preset unless told otherwise.
    const std::optional<ProgramValues> fallback =
        demo && effect.isKorvaneBrassel() ? std::optional(defaultProgram()) : std::nullopt;
    summary.preset = applyCommandLineSettings(options, effect, fallback, summary.changed);
    summary.plugin = effect.identity();
    summary.inputName = demo ? kDemoName : *options.input;
    summary.input = info;
    summary.blockSize = options.blockSize;
    const bool useDouble = usesDouble(options, effect);
    summary.precision = useDouble ? 64 : 32;
    // The key is read beside the input; its rate must be the input's, as a host's side-chain is.
    std::unique_ptr<AudioSource> key;
    if (options.keyFile) {
        key = std::make_unique<AudioFileReader>(*options.keyFile);
        if (key->info().sampleRate != info.sampleRate)
            throw ToolError("the key " + *options.keyFile + " is at " + hertz(key->info().sampleRate) +
                            ", the input at " + hertz(info.sampleRate) + "; give a key at the input's rate");
        const std::optional<int> keyParameter = effect.controlParameter("Key");
        if (!effect.takesKey() || !keyParameter) throw UsageError("--key needs the built-in compressor");
        effect.setParameter(*keyParameter, 1.0f);  // External
    }
    summary.parameters = namedParameters(effect);
    effect.start(info.sampleRate, options.blockSize, info.channels, useDouble);

    // From here on Ctrl+C stops the render cleanly instead of killing it
    // half-written: the loop notices, and every staged file is removed.
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    StagedOutput audioOut(outputPath);
    AudioFileWriter writer(audioOut.path(), format, info.channels, info.sampleRate, outputPath);
    RenderStatistics statistics(info.channels, info.sampleRate, info.frames);
    ProgressBar progress(stderr, !options.quiet && platform::isTerminal(stderr), info.frames,
                         info.sampleRate, platform::terminalColumns(stderr));
    const RenderTiming timing =
        renderAll(effect, *source, &writer, options.blockSize, statistics, progress, nullptr, key.get());
    // Read before stopping: a stopped effect rests its meter.
    std::optional<editorpicture::EditorState> finalState;
    if (editorPath) finalState = editorStateOf(effect);
    effect.stop();
    writer.close();

    summary.statistics = &statistics;
    summary.elapsedSeconds = timing.seconds;
    summary.outputPath = outputPath;
    AudioInfo written = info;
    written.format = format;
    summary.outputFormat = written.describe();
    summary.plotPath = plotPath.value_or("");
    summary.reportPath = options.report.value_or("");
    summary.sourceCopyPath = demoInputPath.value_or("");

    std::unique_ptr<StagedOutput> plotOut, reportOut, demoInputOut, editorOut;
    if (plotPath) {
        plotOut = std::make_unique<StagedOutput>(*plotPath);
        PlotLabels labels;
        labels.title = summary.plugin.displayName() + "   \xc2\xb7   " +
                       (demo ? std::string("demo loop") : fs::path(*options.input).filename().string());
        labels.subtitle = settingsLine(summary);
        drawPlot(statistics, labels, plotOut->path());
    }
    if (options.report) {
        reportOut = std::make_unique<StagedOutput>(*options.report);
        writeText(reportOut->path(), summaryJson(summary));
    }
    if (editorPath) {
        editorOut = std::make_unique<StagedOutput>(*editorPath);
        drawEditor(*finalState, editorOut->path());
        summary.editorPath = *editorPath;
    }
    if (demoInputPath) {
        demoInputOut = std::make_unique<StagedOutput>(*demoInputPath);
        const std::vector<double> loop = synthesiseDemoLoop();
        AudioFileWriter in(demoInputOut->path(), demoOutputFormat(), 2, kDemoRate, *demoInputPath);
        in.write(loop.data(), static_cast<int>(loop.size() / 2));
        in.close();
    }
    // Everything is complete: only now do the outputs take their names.
    checkStop();
    audioOut.commit();
    for (auto* staged : {plotOut.get(), reportOut.get(), demoInputOut.get(), editorOut.get()})
        if (staged) staged->commit();

    if (!options.quiet) printSummary(summary, stdout);
    return 0;
}

int run(const std::vector<std::string>& arguments) {
    const Options options = parseOptions(arguments);
    if (options.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("kvbr-render %s\n", kVersion);
        return 0;
    }
    // Without --plugin or --vst2 the compressor built in renders.
    std::vector<std::string> plugins = options.plugins;
    if (options.vst2) plugins.insert(plugins.begin(), findDefaultPlugin());
    const std::optional<std::string> plugin =
        plugins.empty() ? std::nullopt : std::optional(plugins.front());

    if (options.list) {
        const std::unique_ptr<Effect> effect = openEffect(plugin);
        std::vector<int> changed;
        applyCommandLineSettings(options, *effect, std::nullopt, changed);
        printListing(*effect, stdout);
        return 0;
    }
    if (options.bench) {
        runBench(options, plugins, stdout);
        return 0;
    }
    if (options.batch) {
        // Ctrl+C stops every file cleanly; their staged files are removed.
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        return runBatch(options, plugin);
    }
    return renderFile(options, plugin);
}

}  // namespace
}  // namespace render

int main(int argc, char** argv) {
    try {
        return render::run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const render::UsageError& e) {
        std::fprintf(stderr, "kvbr-render: %s\n", e.what());
        return render::kExitUsage;
    } catch (const render::ToolError& e) {
        std::fprintf(stderr, "kvbr-render: %s\n", e.what());
        return render::kExitFailure;
    } catch (const render::Interrupted&) {
        std::fprintf(stderr, "\nkvbr-render: interrupted; no output was written\n");
        return render::kExitInterrupted;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvbr-render: %s\n", e.what());
        return render::kExitFailure;
    }
}
