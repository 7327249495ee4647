#include "batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "audioFile.h"
#include "effect.h"
#include "platform/toolEnvironment.h"
#include "progressBar.h"
#include "renderLoop.h"
#include "settings.h"
#include "stagedOutput.h"
#include "statistics.h"
#include "summary.h"
#include "toolError.h"

namespace fs = std::filesystem;

namespace render {

namespace {

// One file of the batch, from the checks before the start to its end.
struct Job {
    std::string input, output;
    AudioInfo info;
    std::atomic<std::int64_t> framesDone{0};
    // Written by the worker before it reports the job finished.
    bool ok = false, interrupted = false;
    std::string message;  // the summary line, or why it failed
    double audioSeconds = 0.0;
};

std::string resultLine(const Job& job, const RenderStatistics& st, double elapsed) {
    char text[512];
    std::string reduction = "no gain reduction reported";
    if (st.hasGainReduction()) {
        char r[96];
        std::snprintf(r, sizeof(r), "reduction %.1f dB average, %.1f dB maximum",
                      st.averageReductionDb(), st.maximumReductionDb());
        reduction = r;
    }
    std::snprintf(text, sizeof(text), "%s -> %s: %.2f s, peak %s -> %s, %s, %.0fx real time",
                  job.input.c_str(), job.output.c_str(), st.seconds(),
                  formatDbfs(st.inputPeak()).c_str(), formatDbfs(st.outputPeak()).c_str(),
                  reduction.c_str(), elapsed > 0.0 ? st.seconds() / elapsed : 0.0);
    return text;
}

// Why a file failed, in one line that names it.
std::string failureText(const Job& job, const std::string& reason) {
    if (reason.find(job.input) != std::string::npos || reason.find(job.output) != std::string::npos)
        return reason;
    return job.input + ": " + reason;
}

// Renders one file through a fresh instance; the outcome goes into the job.
void renderJob(const Options& options, const std::optional<std::string>& pluginPath, Job& job) {
    try {
        const auto start = std::chrono::steady_clock::now();
        const std::unique_ptr<Effect> effect = openEffect(pluginPath);
        std::vector<int> changed;
        applyCommandLineSettings(options, *effect, std::nullopt, changed);
        AudioFileReader source(job.input);
        const AudioInfo& info = source.info();
        const bool useDouble =
            options.precision == 64 || (options.precision == 0 && effect->identity().canDouble);
        effect->start(info.sampleRate, options.blockSize, info.channels, useDouble);
        const int format = outputFormatFor(info, job.output, options.floatOutput);
        StagedOutput staged(job.output);
        AudioFileWriter writer(staged.path(), format, info.channels, info.sampleRate, job.output);
        RenderStatistics statistics(info.channels, info.sampleRate, info.frames);
        ProgressBar silent(nullptr, false, info.frames, info.sampleRate);
        renderAll(*effect, source, &writer, options.blockSize, statistics, silent, &job.framesDone);
        effect->stop();
        writer.close();
        checkStop();
        staged.commit();
        job.ok = true;
        job.audioSeconds = statistics.seconds();
        job.message = resultLine(
            job, statistics,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    } catch (const Interrupted&) {
        job.interrupted = true;
    } catch (const std::exception& e) {
        job.message = e.what();
    }
}

// What the workers tell the main thread, which alone writes to the terminal.
struct Board {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Job*> finished;  // not yet printed
    int running = 0;
};

}  // namespace

std::string defaultOutputFor(const std::string& input) {
    const fs::path p(input);
    return (p.parent_path() / (p.stem().string() + "-brassel" + p.extension().string())).string();
}

std::vector<std::string> batchOutputs(const Options& options) {
    std::vector<std::string> outputs;
    for (const std::string& input : options.files)
        outputs.push_back(options.outDir
                              ? (fs::path(*options.outDir) / fs::path(input).filename()).string()
                              : defaultOutputFor(input));
    return outputs;
}

int runBatch(const Options& options, const std::optional<std::string>& pluginPath) {
    const std::vector<std::string> outputs = batchOutputs(options);
    const size_t count = options.files.size();

    // Checks that concern the whole command: exit status 2 before anything.
    std::error_code ec;
    if (options.outDir && fs::exists(*options.outDir, ec) && !fs::is_directory(*options.outDir, ec))
        throw UsageError("the output folder " + *options.outDir + " is a file");
    std::map<fs::path, size_t> outputOf, inputOf;
    for (size_t i = 0; i < count; ++i) inputOf.emplace(fs::absolute(options.files[i]).lexically_normal(), i);
    for (size_t i = 0; i < count; ++i) {
        const fs::path out = fs::absolute(outputs[i]).lexically_normal();
        if (const auto [at, fresh] = outputOf.emplace(out, i); !fresh)
            throw UsageError("two outputs would be written to " + outputs[i] + " (from " +
                             options.files[at->second] + " and " + options.files[i] + ")");
        if (const auto at = inputOf.find(out); at != inputOf.end())
            throw UsageError("the output of " + options.files[i] + " would be " +
                             options.files[at->second] + ", an input of this batch");
    }
    // The effect and the settings, once: a wrong --plugin or --set fails here
    // instead of in every file.
    {
        std::vector<int> changed;
        applyCommandLineSettings(options, *openEffect(pluginPath), std::nullopt, changed);
    }

    // Only now that the command is known to be sound: a missing output folder is made.
    if (options.outDir && !fs::is_directory(*options.outDir, ec)) {
        if (!fs::create_directories(*options.outDir, ec) && !fs::is_directory(*options.outDir))
            throw ToolError("cannot make the output folder " + *options.outDir + ": " + ec.message());
        if (!options.quiet) std::printf("made the output folder %s\n", options.outDir->c_str());
    }

    std::vector<std::unique_ptr<Job>> jobs;
    std::vector<Job*> pending;
    int failed = 0;
    double totalSeconds = 0.0;
    for (size_t i = 0; i < count; ++i) {
        auto job = std::make_unique<Job>();
        job->input = options.files[i];
        job->output = outputs[i];
        // The files are opened here, one after the other, so that a file that
        // cannot be rendered is named at once.
        try {
            checkOutputPath(job->output, job->input, options.force, "output");
            job->info = AudioFileReader(job->input).info();
            outputFormatFor(job->info, job->output, options.floatOutput);
            totalSeconds += job->info.seconds();
            pending.push_back(job.get());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kvbr-render: %s\n", failureText(*job, e.what()).c_str());
            ++failed;
        }
        jobs.push_back(std::move(job));
    }

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t workers = std::min<size_t>(
        pending.size(), options.jobs > 0 ? static_cast<size_t>(options.jobs) : cores);
    const bool show = !options.quiet;
    ProgressBar progress(stderr, show && platform::isTerminal(stderr),
                         static_cast<std::int64_t>(totalSeconds * 1e6), 1e6,
                         platform::terminalColumns(stderr));

    Board board;
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
    const auto start = std::chrono::steady_clock::now();
    board.running = static_cast<int>(workers);
    for (size_t w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            for (;;) {
                const size_t index = next.fetch_add(1);
                if (index >= pending.size() || stopWasRequested()) break;
                renderJob(options, pluginPath, *pending[index]);
                const std::lock_guard<std::mutex> lock(board.mutex);
                board.finished.push_back(pending[index]);
                board.changed.notify_one();
            }
            const std::lock_guard<std::mutex> lock(board.mutex);
            --board.running;
            board.changed.notify_one();
        });
    }

    int rendered = 0, interrupted = 0;
    double renderedSeconds = 0.0;
    for (;;) {
        std::vector<Job*> finished;
        bool allDone = false;
        {
            std::unique_lock<std::mutex> lock(board.mutex);
            board.changed.wait_for(lock, std::chrono::milliseconds(100));
            finished.swap(board.finished);
            allDone = board.running == 0;
        }
        if (!finished.empty()) progress.finish();
        for (Job* job : finished) {
            if (job->ok) {
                ++rendered;
                renderedSeconds += job->audioSeconds;
                if (show) std::printf("%s\n", job->message.c_str());
            } else if (job->interrupted) {
                ++interrupted;
            } else {
                ++failed;
                std::fprintf(stderr, "kvbr-render: %s\n", failureText(*job, job->message).c_str());
            }
        }
        if (!finished.empty()) std::fflush(stdout);
        if (allDone) break;
        double doneSeconds = 0.0;
        for (const Job* job : pending)
            if (job->info.sampleRate > 0.0)
                doneSeconds +=
                    static_cast<double>(job->framesDone.load(std::memory_order_relaxed)) /
                    job->info.sampleRate;
        progress.update(static_cast<std::int64_t>(doneSeconds * 1e6));
    }
    for (std::thread& t : threads) t.join();
    progress.finish();

    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (stopWasRequested()) {
        std::fprintf(
            stderr,
            "\nkvbr-render: interrupted; %d of %zu files were finished, no partial file was left\n",
            rendered, count);
        return kExitInterrupted;
    }
    if (show) {
        std::printf(
            "rendered %d of %zu files%s: %.2f s of audio in %.2f s, %.0fx real time, %.2f files "
            "per "
            "second, %zu at a time\n",
            rendered, count, failed ? (" (" + std::to_string(failed) + " failed)").c_str() : "",
            renderedSeconds, elapsed, elapsed > 0.0 ? renderedSeconds / elapsed : 0.0,
            elapsed > 0.0 ? rendered / elapsed : 0.0, workers);
    }
    (void)interrupted;
    return failed ? kExitFailure : 0;
}

}  // namespace render
