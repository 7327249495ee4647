// Nanoseconds per stereo frame of the audio path, beside the cost of the libm
// calls every frame needs, one at a time (the scalar floor) and four at a time
// with the vector path's kernels (the vector floor). The effects take the path
// their processor gets (KVBR_ENGINE_PATH=baseline forces the baseline).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/engine/enginePath.h"
#include "core/engine/vectorMath.h"
#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"

namespace {

constexpr int kBlock = 512;
constexpr double kRate = 48000.0;

vst2::intptr host(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

// Steady material, or bursts that switch between quiet and loud every 50 ms so
// the ten-step attack runs again and again.
template <typename Sample>
std::vector<Sample> material(bool bursts, int channel, int frames) {
    std::vector<Sample> v(static_cast<size_t>(frames));
    for (int t = 0; t < frames; ++t) {
        const double env = bursts ? ((t / 2400) % 2 ? 1.0 : 0.02) : 0.5;
        v[static_cast<size_t>(t)] =
            static_cast<Sample>(env * std::sin(6.283185307179586 * (220.0 + 110.0 * channel) * t / kRate));
    }
    return v;
}

// What the instance's settings beyond the oversampling add: the Mix at 50 %,
// the Sidechain Filter at 150 Hz, the key input heard.
struct Extras {
    bool blend = false, filtered = false, keyed = false;
};

template <typename Sample>
void run(benchmark::State& state, float mode, int ratio, bool bursts, int oversampling, Extras extras = {}) {
    platform::headless::memorySettingsStore().clear();
    auto e = std::make_unique<AutoComp>(host);
    e->setSampleRate(static_cast<float>(kRate));
    e->resume();
    e->setParameter(0, mode);
    e->setParameter(2, ratio / 6.0f);
    e->setParameter(5, 0.7f);
    e->core().parameters().set(kOversamplingParameter, oversampling / 2.0f);
    if (extras.blend) e->core().parameters().set(kMixParameter, 0.5f);
    if (extras.filtered) e->core().parameters().set(kSidechainFilterParameter, 0.75f);
    if (extras.keyed) e->core().parameters().set(kKeyParameter, 1.0f);
    const int frames = 48000;
    auto left = material<Sample>(bursts, 0, frames), right = material<Sample>(bursts, 1, frames);
    std::vector<Sample> outL(kBlock), outR(kBlock);
    int position = 0;
    for (auto _ : state) {
        Sample* in[2] = {left.data() + position, right.data() + position};
        Sample* out[2] = {outL.data(), outR.data()};
        if (extras.keyed)  // the other channel's material as the key
            e->core().process(in[0], in[1], out[0], out[1], kBlock, in[1], in[0]);
        else if constexpr (sizeof(Sample) == sizeof(float))
            e->processReplacing(in, out, kBlock);
        else
            e->processDoubleReplacing(in, out, kBlock);
        benchmark::DoNotOptimize(outL.data());
        position += kBlock;
        if (position + kBlock > frames) position = 0;
    }
    state.counters["ns/frame"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBlock,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * kBlock);
}

template <typename Sample>
void runEngine(benchmark::State& state) {
    run<Sample>(state, state.range(0) == 2 ? 1.0f : 0.5f, static_cast<int>(state.range(1)), state.range(2) != 0, 0);
}

// Valve at 4:1 on the steady material, the valve at the base rate (0), twice (1) or four times it (2).
template <typename Sample>
void runOversampled(benchmark::State& state) {
    run<Sample>(state, 1.0f, 4, false, static_cast<int>(state.range(0)));
}

// Valve at 4:1 on the steady material: as it comes (0), Mix 50 % (1), and
// the Sidechain Filter (2) and a key (3) besides; Mix 50 % at 4x (4).
template <typename Sample>
void runBlend(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    run<Sample>(state, 1.0f, 4, false, which == 4 ? 2 : 0, Extras{which >= 1, which == 2 || which == 3, which == 3});
}

struct FloorArguments {
    std::vector<double> w, x, y;
    FloorArguments() : w(kBlock), x(kBlock), y(kBlock) {
        for (int i = 0; i < kBlock; ++i) {
            w[static_cast<size_t>(i)] = 1e-4 + i * 1e-6;
            x[static_cast<size_t>(i)] = 0.05 + i * 0.01;
            y[static_cast<size_t>(i)] = (i % 2 ? 1.0 : -1.0) * (0.1 + i * 0.003);
        }
    }
};

// One sine, one cosine, one square root, the gain curve's arc tangent and two
// valve curves per frame: what the audio path must call whatever else it does.
void libmFloor(benchmark::State& state) {
    const FloorArguments a;
    const std::vector<double>& w = a.w;
    const std::vector<double>& x = a.x;
    const std::vector<double>& y = a.y;
    for (auto _ : state) {
        double acc = 0;
        for (size_t i = 0; i < kBlock; ++i) {
            acc += std::sin(w[i]) + std::cos(w[i]);
            acc += std::sqrt(x[i]);
            acc += std::atan(x[i] * 1.2);
            acc += 4.0 * std::atan(0.25 * y[i]);
            acc += 4.0 * std::tanh(-0.16 * y[i]) / -0.64;
        }
        benchmark::DoNotOptimize(acc);
    }
    state.counters["ns/frame"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBlock,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The same calls, four at a time.
void vectorFloor(benchmark::State& state) {
    if (!vectorEngineSupported()) {
        state.SkipWithError("this processor has no AVX2 and FMA");
        return;
    }
    const FloorArguments a;
    for (auto _ : state) benchmark::DoNotOptimize(vectormath::floorSum(a.w.data(), a.x.data(), a.y.data(), kBlock));
    state.counters["ns/frame"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBlock,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(libmFloor);
BENCHMARK(vectorFloor);
// Arguments: mode (1 Clear, 2 Valve), ratio step, bursts (0 steady, 1 bursts).
BENCHMARK(runEngine<float>)->ArgsProduct({{1, 2}, {0, 4, 6}, {0, 1}});
BENCHMARK(runEngine<double>)->ArgsProduct({{1, 2}, {0, 4, 6}, {0, 1}});
BENCHMARK(runOversampled<float>)->DenseRange(0, 2);
BENCHMARK(runOversampled<double>)->DenseRange(0, 2);
BENCHMARK(runBlend<float>)->DenseRange(0, 4);

BENCHMARK_MAIN();
