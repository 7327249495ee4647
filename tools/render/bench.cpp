#include "bench.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "demoMaterial.h"
#include "effect.h"
#include "platform/toolEnvironment.h"
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
double timedPass(Effect& effect, PinSignal<Sample>& signal, size_t frames) {
    std::vector<Sample*> inputs(signal.in.size()), outputs(signal.out.size());
    const auto start = std::chrono::steady_clock::now();
    for (size_t at = 0; at < frames; at += kBenchBlock) {
        const int n = static_cast<int>(std::min<size_t>(kBenchBlock, frames - at));
        for (size_t p = 0; p < inputs.size(); ++p) inputs[p] = signal.in[p].data() + at;
        for (size_t p = 0; p < outputs.size(); ++p) outputs[p] = signal.out[p].data() + at;
        effect.processPins(inputs.data(), outputs.data(), n);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One effect in one sample width, ready with its signal.
struct Entry {
    std::unique_ptr<Effect> effect;
    bool useDouble = false;
    std::unique_ptr<PinSignal<float>> floatSignal;
    std::unique_ptr<PinSignal<double>> doubleSignal;
    BenchResult result;

    // One pass from rest, as a fresh render would start.
    void pass(size_t frames) {
        effect->stop();
        effect->start(kBenchRate, kBenchBlock, 2, useDouble);
        result.runSeconds.push_back(useDouble ? timedPass(*effect, *doubleSignal, frames)
                                              : timedPass(*effect, *floatSignal, frames));
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
    // The compressor built in first, the reference for the plug-ins after it.
    std::vector<std::optional<std::string>> sources = {std::nullopt};
    sources.insert(sources.end(), plugins.begin(), plugins.end());
    for (const std::optional<std::string>& source : sources) {
        // Each width gets an instance of its own.
        std::vector<bool> widths;
        {
            const bool canDouble = openEffect(source)->identity().canDouble;
            if (options.bothPrecisions) {
                widths.push_back(false);
                if (canDouble) widths.push_back(true);
            } else {
                widths.push_back(options.precision == 64 || (options.precision == 0 && canDouble));
            }
        }
        for (bool useDouble : widths) {
            auto e = std::make_unique<Entry>();
            e->effect = openEffect(source);
            // Two builds of one plug-in are told apart by their paths.
            const std::string path = source.value_or("");
            const std::string file = std::filesystem::path(path).filename().string();
            const bool twin =
                std::count_if(plugins.begin(), plugins.end(), [&](const std::string& p) {
                    return std::filesystem::path(p).filename().string() == file;
                }) > 1;
            e->result.name = e->effect->identity().displayName() + " (" +
                             (!source ? "built-in" : twin ? path : file) + ")";
            std::vector<int> changed;
            applyCommandLineSettings(options, *e->effect, std::nullopt, changed);
            e->useDouble = useDouble;
            e->result.precision = useDouble ? 64 : 32;
            e->effect->start(kBenchRate, kBenchBlock, 2, useDouble);
            if (useDouble)
                e->doubleSignal =
                    std::make_unique<PinSignal<double>>(stereo, e->effect->pinCount(), frames);
            else
                e->floatSignal =
                    std::make_unique<PinSignal<float>>(stereo, e->effect->pinCount(), frames);
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
