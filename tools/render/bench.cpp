#include "bench.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

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

template <typename Sample>
void measure(PluginHost& host, const std::vector<double>& stereo, BenchResult& result, int runs,
             bool showProgress) {
    const size_t frames = static_cast<size_t>(kBenchFrames);
    PinSignal<Sample> signal(stereo, host.pinCount(), frames);
    for (int run = 0; run < runs; ++run) {
        if (showProgress)
            std::fprintf(stderr, "\rmeasuring %s: pass %d of %d ", result.name.c_str(), run + 1, runs);
        // Each pass starts from rest, as a fresh render would.
        host.stop();
        host.start(kBenchRate, kBenchBlock, 2, sizeof(Sample) == sizeof(double));
        result.runSeconds.push_back(timedPass(host, signal, frames));
    }
    if (showProgress) std::fprintf(stderr, "\r%*s\r", 70, "");
}

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
    std::vector<BenchResult> results;
    for (const std::string& path : plugins) {
        PluginHost host(path);
        BenchResult result;
        result.name = host.identity().displayName() + " (" +
                      std::filesystem::path(path).filename().string() + ")";
        std::vector<int> changed;
        applyCommandLineSettings(options, host, std::nullopt, changed);
        const bool useDouble = options.precision == 64 || (options.precision == 0 && host.identity().canDouble);
        result.precision = useDouble ? 64 : 32;
        host.start(kBenchRate, kBenchBlock, 2, useDouble);
        if (useDouble)
            measure<double>(host, stereo, result, options.benchRuns, showProgress);
        else
            measure<float>(host, stereo, result, options.benchRuns, showProgress);
        results.push_back(result);
    }

    std::fprintf(out, "%.0f s of stereo at %.0f kHz in blocks of %d, %d passes per plug-in\n\n",
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
