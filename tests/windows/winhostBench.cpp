// winhost --bench: the DLL's processing speed under Wine, on the signal of
// kvbr-render --bench (the demo loop repeated to 60 s, stereo, 48 kHz, blocks
// of 512), in 32-bit and 64-bit processing, the two taking turns.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tools/referenceRun.h"
#include "tools/render/demoMaterial.h"

using namespace vst2;

namespace {

constexpr double kSeconds = 60.0, kRate = 48000.0;
constexpr int kBlock = 512;

template <typename Sample>
double pass(AEffect* e, std::vector<Sample>& l, std::vector<Sample>& r, std::vector<Sample>& ol,
            std::vector<Sample>& orr) {
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
    const auto start = std::chrono::steady_clock::now();
    for (size_t at = 0; at < l.size(); at += kBlock) {
        const int n = static_cast<int>(std::min<size_t>(kBlock, l.size() - at));
        Sample* in[2] = {l.data() + at, r.data() + at};
        Sample* out[2] = {ol.data() + at, orr.data() + at};
        if constexpr (sizeof(Sample) == sizeof(float))
            e->processReplacing(e, in, out, n);
        else
            e->processDoubleReplacing(e, in, out, n);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : 0.5 * (v[v.size() / 2 - 1] + v[v.size() / 2]);
}

}  // namespace

int runBench(const char* dllPath, int runs) {
    HMODULE library = LoadLibraryA(dllPath);
    auto entry = library ? reinterpret_cast<reference::Entry>(
                               reinterpret_cast<void*>(GetProcAddress(library, "VSTPluginMain")))
                         : nullptr;
    AEffect* e = entry ? entry(reference::host) : nullptr;
    if (!e) {
        std::printf("FAILED: no effect from %s\n", dllPath);
        return 1;
    }
    e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
    e->dispatcher(e, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    const std::vector<double> stereo = render::benchSignal(kSeconds, kRate);
    const size_t frames = stereo.size() / 2;
    std::vector<float> fl(frames), fr(frames), fol(frames), forr(frames);
    std::vector<double> dl(frames), dr(frames), dol(frames), dorr(frames);
    for (size_t f = 0; f < frames; ++f) {
        dl[f] = fl[f] = static_cast<float>(stereo[2 * f]);
        dr[f] = fr[f] = static_cast<float>(stereo[2 * f + 1]);
    }
    std::vector<double> single, twice;
    for (int run = 0; run < runs; ++run) {
        single.push_back(pass(e, fl, fr, fol, forr));
        twice.push_back(pass(e, dl, dr, dol, dorr));
    }
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
    FreeLibrary(library);
    std::printf("%.0f s of stereo at %.0f kHz in blocks of %d, %d passes per width, in turn\n\n",
                kSeconds, kRate / 1000.0, kBlock, runs);
    std::printf("| Plug-in | Precision | ns per stereo frame (median) | (minimum) | Real-time factor |\n");
    std::printf("|---|---|---:|---:|---:|\n");
    for (const auto& [seconds, bits] : {std::pair{single, 32}, std::pair{twice, 64}})
        std::printf("| Korvane Brassel (DLL under Wine) | %d-bit | %.1f | %.1f | %.0fx |\n", bits,
                    median(seconds) * 1e9 / static_cast<double>(frames),
                    *std::min_element(seconds.begin(), seconds.end()) * 1e9 / static_cast<double>(frames),
                    kSeconds / median(seconds));
    return 0;
}
