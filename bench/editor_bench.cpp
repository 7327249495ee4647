// Milliseconds from opening the editor to the end of its first full paint on
// the headless backend (the same cairo drawing and artwork as the Linux
// window), at the scales with artwork of their own (1, 2) and resampled ones
// (1.25, 1.5, 3). FirstOpening is the first opening in a fresh process: each
// repetition starts this program again as a child that opens one editor and
// prints what it measured. OpeningAgain opens the same editor once more in a
// process that has opened it at that scale before; SecondInstance opens the
// editor of another plug-in instance there.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "editor/ADEditor.h"
#include "gui/CFrame.h"
#include "platform/headless/headless.h"
#include "platform/linux/childProcess.h"
#include "formats/vst2/AutoComp.h"

namespace {

namespace hl = platform::headless;

vst2::intptr host(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

struct Took {
    double seconds = -1.0;     // on the clock on the wall
    double cpuSeconds = -1.0;  // of processor time, which other programs on a busy machine do not add to
};

// Opens the effect's editor at `scale` and paints it once, as a host's first
// expose does. The editor is left open.
Took openAndPaint(AutoComp& effect, double scale) {
    static int parent = 0;
    ADEditor* editor = effect.view();
    editor->setHostScale(scale);
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    if (!editor->open(&parent)) return {};
    hl::lastWindow()->processEvents();
    editor->idle();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC};
}

void FirstOpening(benchmark::State& state) {
    const std::string scale = std::to_string(static_cast<double>(state.range(0)) / 100.0);
    double cpu = 0.0;
    for (auto _ : state) {
        const auto outcome =
            platform::linux_backend::runChild({"/proc/self/exe", "--open-once", scale}, {});
        Took took;
        if (outcome.exitCode != 0 ||
            std::sscanf(outcome.output.c_str(), "%lf %lf", &took.seconds, &took.cpuSeconds) != 2) {
            state.SkipWithError("the child did not open the editor");
            break;
        }
        state.SetIterationTime(took.seconds);
        cpu += took.cpuSeconds;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1e3, benchmark::Counter::kAvgIterations);
}

void OpeningAgain(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    unsetenv("KVBR_EDITOR_SCALE");
    auto effect = std::make_unique<AutoComp>(host);
    if (openAndPaint(*effect, scale).seconds < 0.0) state.SkipWithError("the editor did not open");
    effect->view()->close();
    double cpu = 0.0;
    for (auto _ : state) {
        const Took took = openAndPaint(*effect, scale);
        effect->view()->close();
        state.SetIterationTime(took.seconds);
        cpu += took.cpuSeconds;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1e3, benchmark::Counter::kAvgIterations);
}

void SecondInstance(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 100.0;
    unsetenv("KVBR_EDITOR_SCALE");
    {
        AutoComp first(host);
        if (openAndPaint(first, scale).seconds < 0.0) state.SkipWithError("the editor did not open");
    }
    double cpu = 0.0;
    for (auto _ : state) {
        // Only the opening is timed, not the instance.
        auto effect = std::make_unique<AutoComp>(host);
        const Took took = openAndPaint(*effect, scale);
        effect.reset();
        state.SetIterationTime(took.seconds);
        cpu += took.cpuSeconds;
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1e3, benchmark::Counter::kAvgIterations);
}

void scales(benchmark::internal::Benchmark* b) {
    for (int percent : {100, 125, 150, 200, 300}) b->Arg(percent);
    b->Unit(benchmark::kMillisecond)->UseManualTime();
}

// A fresh process per iteration costs a few tenths of a second; three will do
// a run (scripts/editor-opening-table.py takes the median of several runs).
BENCHMARK(FirstOpening)->Apply(scales)->Iterations(3);
BENCHMARK(OpeningAgain)->Apply(scales)->MinTime(0.3);
BENCHMARK(SecondInstance)->Apply(scales)->MinTime(0.3);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--open-once") == 0) {
        unsetenv("KVBR_EDITOR_SCALE");
        AutoComp effect(host);
        const Took took = openAndPaint(effect, std::atof(argv[2]));
        if (took.seconds < 0.0) return 1;
        std::printf("%.9f %.9f\n", took.seconds, took.cpuSeconds);
        effect.view()->close();
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
