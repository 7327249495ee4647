#include "bench.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "demoMaterial.h"
#include "platform/toolEnvironment.h"
#include "pluginHost.h"
#include "settings.h"

namespace render {

namespace {

constexpr double kBenchFrames = kBenchSeconds * kBenchRate;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

// The signal laid out as the effect's pins want it, so that the timed loop
// does nothing but process calls.
template <typename Sample>
struct PinSignal {
    std::vector<std::vector<Sample>> in, out;
    PinSignal(const std::vector<double>& stereo, int pins, size_t frames)
        : in(pins, std::vector<Sample>(frames)), out(pins, std::vector<Sample>(frames)) {
        for (size_t f = 0; f < frames; ++f) {
            in[0][f] = static_cast<Sample>(stereo[2 * f]);
            in[1][f] = static_cast<Sample>(stereo[2 * f + 1]);
        }
    }
};

template <typename Sample>
double timedPass(PluginHost& host, PinSignal<Sample>& signal, size_t frames) {
    std::vector<Sample*> inputs(signal.in.size()), outputs(signal.out.size());
    const auto start = std::chrono::steady_clock::now();
    for (size_t at = 0; at < frames; at += kBenchBlock) {
        const int n = static_cast<int>(std::min<size_t>(kBenchBlock, frames - at));
        for (size_t p = 0; p < inputs.size(); ++p) inputs[p] = signal.in[p].data() + at;
        for (size_t p = 0; p < outputs.size(); ++p) outputs[p] = signal.out[p].data() + at;
        host.processPins(inputs.data(), outputs.data(), n);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One plug-in in one sample width, loaded and ready with its signal.
struct Entry {
    std::unique_ptr<PluginHost> host;
    bool useDouble = false;
    std::unique_ptr<PinSignal<float>> floatSignal;
    std::unique_ptr<PinSignal<double>> doubleSignal;
    BenchResult result;

    // One pass from rest, as a fresh render would start.
    void pass(size_t frames) {
        host->stop();
        host->start(kBenchRate, kBenchBlock, 2, useDouble);
        result.runSeconds.push_back(useDouble ? timedPass(*host, *doubleSignal, frames)
                                              : timedPass(*host, *floatSignal, frames));
    }
};

}  // namespace

double BenchResult::medianNsPerFrame() const { return median(runSeconds) * 1e9 / kBenchFrames; }

double BenchResult::minimumNsPerFrame() const {
    return *std::min_element(runSeconds.begin(), runSeconds.end()) * 1e9 / kBenchFrames;
}

double BenchResult::realTimeFactor() const { return kBenchSeconds / median(runSeconds); }

std::vector<BenchResult> runBench(const Options& options, const std::vector<std::string>& plugins,
                                  std::FILE* out) {
    const std::vector<double> stereo = benchSignal(kBenchSeconds, kBenchRate);
    const bool showProgress = !options.quiet && platform::isTerminal(stderr);
    const size_t frames = static_cast<size_t>(kBenchFrames);
    std::vector<std::unique_ptr<Entry>> entries;
    for (const std::string& path : plugins) {
        // Each width gets an instance of its own.
        std::vector<bool> widths;
        {
            PluginHost probe(path);
            const bool canDouble = probe.identity().canDouble;
            if (options.bothPrecisions) {
                widths.push_back(false);
                if (canDouble) widths.push_back(true);
            } else {
                widths.push_back(options.precision == 64 || (options.precision == 0 && canDouble));
            }
        }
        for (bool useDouble : widths) {
            auto e = std::make_unique<Entry>();
            e->host = std::make_unique<PluginHost>(path);
            // Two builds of one plug-in are told apart by their paths.
            const std::string file = std::filesystem::path(path).filename().string();
            const bool twin =
                std::count_if(plugins.begin(), plugins.end(), [&](const std::string& p) {
                    return std::filesystem::path(p).filename().string() == file;
                }) > 1;
            e->result.name = e->host->identity().displayName() + " (" + (twin ? path : file) + ")";
            std::vector<int> changed;
            applyCommandLineSettings(options, *e->host, std::nullopt, changed);
            e->useDouble = useDouble;
            e->result.precision = useDouble ? 64 : 32;
            e->host->start(kBenchRate, kBenchBlock, 2, useDouble);
            if (useDouble)
                e->doubleSignal =
                    std::make_unique<PinSignal<double>>(stereo, e->host->pinCount(), frames);
            else
                e->floatSignal =
                    std::make_unique<PinSignal<float>>(stereo, e->host->pinCount(), frames);
            entries.push_back(std::move(e));
        }
    }
    // The passes take turns, so that a change in the machine's speed during
    // the run touches every plug-in alike.
    for (int run = 0; run < options.benchRuns; ++run) {
        for (auto& e : entries) {
            if (showProgress)
                std::fprintf(stderr, "\rmeasuring pass %d of %d: %s, %d-bit ", run + 1,
                             options.benchRuns, e->result.name.c_str(), e->result.precision);
            e->pass(frames);
        }
    }
    if (showProgress) std::fprintf(stderr, "\r%*s\r", 100, "");
    std::vector<BenchResult> results;
    for (auto& e : entries) results.push_back(e->result);

    std::fprintf(out,
                 "%.0f s of stereo at %.0f kHz in blocks of %d, %d passes per plug-in and width, "
                 "in turn\n\n",
                 kBenchSeconds, kBenchRate / 1000.0, kBenchBlock, options.benchRuns);
    std::fprintf(out, "| Plug-in | Precision | ns per stereo frame (median) | (minimum) | Real-time factor | Time against the first |\n");
    std::fprintf(out, "|---|---|---:|---:|---:|---:|\n");
    for (const BenchResult& r : results) {
        std::fprintf(out, "| %s | %d-bit | %.1f | %.1f | %.0fx | %.2f |\n", r.name.c_str(), r.precision,
                     r.medianNsPerFrame(), r.minimumNsPerFrame(), r.realTimeFactor(),
                     r.medianNsPerFrame() / results.front().medianNsPerFrame());
    }
    return results;
}

}  // namespace render
