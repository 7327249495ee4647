// Golden runs of the VST 2.x plug-in: fixed scripts of host calls and audio
// blocks whose every answer, every byte the plug-in writes back, every call
// it makes to the host and every output sample are folded into hashes, one
// line per stretch. The lines of the plug-in as it was are kept in this
// folder; a rebuilt plug-in must give the same lines, call for call and
// sample for sample.
//
//   kvbr-vst2-golden PLUGIN dispatch|render|static|settings (--record FILE | --check FILE)
//
// The engine path follows KVBR_ENGINE_PATH as the plug-in reads it; a check
// of the vector path on a processor without AVX2 and FMA is skipped (77).
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "tests/support/dispatcherTraffic.h"

using namespace vst2;

namespace {

// FNV-1a over everything fed to it.
struct Hash {
    std::uint64_t h = 1469598103934665603ull;
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    }
    template <typename T>
    void value(const T& v) { bytes(&v, sizeof v); }
};

// The hash the host's callback folds its calls into, and its answers.
Hash* callLog = nullptr;
intptr pinAnswer = 0;

intptr hostCallback(AEffect*, int32 opcode, int32 index, intptr value, void* ptr, float opt) {
    if (callLog) {
        callLog->value(opcode);
        callLog->value(index);
        callLog->value(value);
        callLog->value(opt);
        if (opcode == audioMasterCanDo && ptr) callLog->bytes(ptr, std::strlen(static_cast<char*>(ptr)));
    }
    switch (opcode) {
        case audioMasterVersion: return 2400;
        case audioMasterPinConnected: return pinAnswer;
        case audioMasterAutomate:
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterUpdateDisplay:
        case audioMasterIdle: return 1;
        default: return 0;
    }
}

struct Plugin {
    explicit Plugin(const char* path) {
        library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!library) throw std::runtime_error(dlerror());
        auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(library, "VSTPluginMain"));
        if (!entry) throw std::runtime_error("no VSTPluginMain");
        effect = entry(hostCallback);
        if (!effect) throw std::runtime_error("VSTPluginMain answered null");
    }
    ~Plugin() {
        if (effect) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        // The plug-in stays loaded once loaded (cairo's tables); dlclose is harmless.
        if (library) dlclose(library);
    }
    intptr dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void* library = nullptr;
    AEffect* effect = nullptr;
};

// A deterministic test signal per channel: a sine, a burst pattern and noise.
template <typename Sample>
void fillInput(std::vector<Sample>& buffer, std::uint64_t& t, int channel, int kind) {
    for (auto& x : buffer) {
        const double time = static_cast<double>(t++);
        double v = 0.0;
        switch (kind % 5) {
            case 0: v = 0.25 * std::sin(0.0142 * time + channel); break;
            case 1: v = (static_cast<std::uint64_t>(time) / 2205 % 4 == 0 ? 0.9 : 0.02) *
                        std::sin(0.061 * time); break;
            case 2: v = std::fmod(time * 0.6180339887 + channel * 0.31, 1.0) * 1.6 - 0.8; break;
            case 3: v = 0.0; break;
            default: v = (static_cast<std::uint64_t>(time) % 997 == 0) ? 1e155 : 0.5 * std::sin(0.003 * time); break;
        }
        x = static_cast<Sample>(v);
    }
}

template <typename Sample>
void processInto(Hash& hash, Plugin& plugin, int frames, std::uint64_t& t, int kind) {
    std::vector<Sample> in[2] = {std::vector<Sample>(frames), std::vector<Sample>(frames)};
    std::vector<Sample> out[2] = {std::vector<Sample>(frames, Sample(7)), std::vector<Sample>(frames, Sample(7))};
    std::uint64_t t0 = t;
    fillInput(in[0], t0, 0, kind);
    fillInput(in[1], t, 1, kind);
    Sample* ins[2] = {in[0].data(), in[1].data()};
    Sample* outs[2] = {out[0].data(), out[1].data()};
    if constexpr (sizeof(Sample) == sizeof(float))
        plugin.effect->processReplacing(plugin.effect, ins, outs, frames);
    else
        plugin.effect->processDoubleReplacing(plugin.effect, ins, outs, frames);
    for (int c = 0; c < 2; ++c) hash.bytes(out[c].data(), out[c].size() * sizeof(Sample));
    // The meter as offline hosts read it.
    double meter = -1.0;
    const intptr answered = plugin.dispatch(effVendorSpecific, fourCharCode('K', 'v', 'B', 'r'),
                                            fourCharCode('M', 't', 'r', 'R'), &meter, 0.0f);
    hash.value(answered);
    hash.value(meter);
}

std::string hex(std::uint64_t h) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

// The dispatcher fuzzer's traffic (same generator, same seed), with the
// parameters set and read and audio processed every hundred calls.
std::vector<std::string> dispatchScript(const char* path) {
    std::vector<std::string> lines;
    Hash hash;
    callLog = &hash;
    Plugin plugin(path);
    lines.push_back("open " + hex(hash.h));
    std::mt19937_64 rng(20261207);
    std::vector<unsigned char> buffer(1024), buffer2(1024);
    std::uint64_t t = 0;
    for (int i = 1; i <= 100000; ++i) {
        const testsupport::DispatcherCall call = testsupport::nextDispatcherCall(rng, buffer, buffer2);
        const int32 opcode = call.opcode, index = call.index;
        const intptr value = call.value;
        void* const ptr = call.ptr;
        const float opt = call.opt;
        // Closing ends the instance; the editor needs a window this run has not.
        const bool skipped = opcode == effClose || opcode == effEditOpen;
        hash.value(opcode);
        hash.value(index);
        // The second buffer's address differs from run to run; only whether it is there counts.
        hash.value(value == reinterpret_cast<intptr>(buffer2.data()) ? intptr{1} : value);
        hash.value(opt);
        hash.value(ptr != nullptr);
        if (!skipped) {
            const intptr answer = plugin.dispatch(opcode, index, value, ptr, opt);
            hash.value(answer);
            if (opcode == effEditGetRect && ptr && answer) {
                // A pointer to the editor's rectangle: its contents count, not its address.
                ERect* rect = nullptr;
                std::memcpy(&rect, buffer.data(), sizeof rect);
                if (rect) hash.value(*rect);
            } else {
                hash.bytes(buffer.data(), buffer.size());
            }
            hash.bytes(buffer2.data(), buffer2.size());
        }
        if (i % 100 == 0) {
            plugin.effect->setParameter(plugin.effect, index % 16, opt);
            for (int32 p = -1; p <= 12; ++p) hash.value(plugin.effect->getParameter(plugin.effect, p));
            processInto<float>(hash, plugin, 64, t, i / 100);
            processInto<double>(hash, plugin, 48, t, i / 100 + 1);
        }
        if (i % 1000 == 0) {
            lines.push_back("calls " + std::to_string(i) + " " + hex(hash.h));
            hash = Hash();
        }
    }
    callLog = nullptr;
    return lines;
}

// Renders over rates, block sizes, layouts, pin answers, precisions and
// settings that change between blocks.
std::vector<std::string> renderScript(const char* path) {
    std::vector<std::string> lines;
    const float rates[] = {44100.0f, 48000.0f, 96000.0f, 192000.0f, 22050.0f, 8000.0f};
    const int blocks[] = {1, 37, 512, 4096};
    std::mt19937 rng(28);
    for (int run = 0; run < 48; ++run) {
        Hash hash;
        callLog = &hash;
        Plugin plugin(path);
        const float rate = rates[run % 6];
        const int block = blocks[(run / 6) % 4];
        const bool twice = run % 2 == 1;
        pinAnswer = run % 7 == 3 ? 1 : 0;
        plugin.dispatch(effOpen);
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        plugin.dispatch(effSetBlockSize, 0, block);
        if (run % 5 != 0) {
            VstSpeakerArrangement in{}, out{};
            in.numChannels = run % 5 == 1 ? 1 : 2;
            out.numChannels = run % 5 == 2 ? 1 : 2;
            plugin.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr>(&in), &out);
        }
        for (int32 p = 0; p < 12; ++p)
            plugin.effect->setParameter(plugin.effect, p, std::uniform_real_distribution<float>(0.0f, 1.0f)(rng));
        plugin.dispatch(effMainsChanged, 0, 1);
        std::uint64_t t = 0;
        const int total = static_cast<int>(rate) / 2;
        for (int done = 0, n = 0; done < total; done += block, ++n) {
            if (n % 9 == 4) {
                const int32 p = static_cast<int32>(rng() % 12);
                plugin.effect->setParameter(plugin.effect, p, std::uniform_real_distribution<float>(-0.1f, 1.1f)(rng));
            }
            if (twice)
                processInto<double>(hash, plugin, block, t, run);
            else
                processInto<float>(hash, plugin, block, t, run);
        }
        plugin.dispatch(effMainsChanged, 0, 0);
        plugin.dispatch(effMainsChanged, 0, 1);
        processInto<float>(hash, plugin, 256, t, run + 1);
        callLog = nullptr;
        lines.push_back("render " + std::to_string(run) + " " + hex(hash.h));
    }
    pinAnswer = 0;
    return lines;
}

// Quarter-second renders at 44.1, 48, 96 and 22.05 kHz in turn, one line per
// run: `setUp(plugin, run)` before the instance starts, `during(plugin, n)`
// before its block n.
template <typename SetUp, typename During>
std::vector<std::string> quarterSeconds(const char* path, const std::string& name, int runs,
                                        const std::vector<int>& blocks, SetUp setUp, During during) {
    std::vector<std::string> lines;
    const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
    for (int run = 0; run < runs; ++run) {
        Hash hash;
        callLog = &hash;
        Plugin plugin(path);
        const float rate = rates[run % 4];
        const int block = blocks[static_cast<size_t>(run) % blocks.size()];
        plugin.dispatch(effOpen);
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        plugin.dispatch(effSetBlockSize, 0, block);
        setUp(plugin, run);
        plugin.dispatch(effMainsChanged, 0, 1);
        std::uint64_t t = 0;
        for (int done = 0, n = 0; done < static_cast<int>(rate) / 4; done += block, ++n) {
            during(plugin, n);
            if (run % 2)
                processInto<double>(hash, plugin, block, t, run);
            else
                processInto<float>(hash, plugin, block, t, run);
        }
        callLog = nullptr;
        lines.push_back(name + " " + std::to_string(run) + " " + hex(hash.h));
    }
    return lines;
}

// Renders at the settings an instance starts with, never changed: whatever
// else changes in how settings take effect, these sound as they always did.
std::vector<std::string> staticScript(const char* path) {
    // Each block size for four runs in a row, one at each rate.
    std::vector<int> blocks;
    for (int block : {1, 64, 1000})
        for (int k = 0; k < 4; ++k) blocks.push_back(block);
    return quarterSeconds(path, "static", 24, blocks, [](Plugin&, int) {}, [](Plugin&, int) {});
}

// Every process mode and ratio, set before the instance starts, with the
// smoothed controls (Compression, Output) moved once it runs: settings that
// start and glide alike whether or not a render starts at its settings, so
// these sound as they always did.
std::vector<std::string> settingsScript(const char* path) {
    std::mt19937 rng(12);
    std::uniform_real_distribution<float> anywhere(0.0f, 1.0f);
    auto setUp = [&](Plugin& plugin, int run) {
        plugin.effect->setParameter(plugin.effect, 0, static_cast<float>(run / 14) / 2.0f);
        plugin.effect->setParameter(plugin.effect, 2, static_cast<float>(run / 2 % 7) / 6.0f);
        plugin.effect->setParameter(plugin.effect, 4, anywhere(rng));
    };
    auto during = [&](Plugin& plugin, int n) {
        if (n != 2) return;
        plugin.effect->setParameter(plugin.effect, 5, anywhere(rng));
        plugin.effect->setParameter(plugin.effect, 6, anywhere(rng));
    };
    return quarterSeconds(path, "settings", 42, {64, 1000, 333}, setUp, during);
}

bool vectorPathRuns() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 || (std::strcmp(argv[3], "--record") != 0 && std::strcmp(argv[3], "--check") != 0)) {
        std::cerr << "usage: kvbr-vst2-golden PLUGIN dispatch|render|static|settings (--record FILE | --check FILE)\n";
        return 2;
    }
    const char* forced = std::getenv("KVBR_ENGINE_PATH");
    const bool baseline = forced && std::strcmp(forced, "baseline") == 0;
    if (!baseline && !vectorPathRuns()) {
        std::cout << "the vector path does not run on this processor\n";
        return 77;
    }
    // No editor window and a settings store of this run's own.
    unsetenv("DISPLAY");
    char home[] = "/tmp/kvbr-golden-XXXXXX";
    if (!mkdtemp(home)) return 2;
    setenv("XDG_CONFIG_HOME", home, 1);

    const std::string script = argv[2];
    std::vector<std::string> lines;
    try {
        if (script == "dispatch")
            lines = dispatchScript(argv[1]);
        else if (script == "render")
            lines = renderScript(argv[1]);
        else if (script == "static")
            lines = staticScript(argv[1]);
        else if (script == "settings")
            lines = settingsScript(argv[1]);
        else
            throw std::runtime_error("no script " + script);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
    std::filesystem::remove_all(home);

    if (std::strcmp(argv[3], "--record") == 0) {
        std::ofstream out(argv[4]);
        for (const auto& line : lines) out << line << "\n";
        return out ? 0 : 2;
    }
    std::ifstream in(argv[4]);
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);) expected.push_back(line);
    if (expected.empty()) {
        std::cerr << "no golden lines in " << argv[4] << "\n";
        return 2;
    }
    for (std::size_t i = 0; i < std::max(expected.size(), lines.size()); ++i) {
        const std::string want = i < expected.size() ? expected[i] : "(nothing)";
        const std::string got = i < lines.size() ? lines[i] : "(nothing)";
        if (want != got) {
            std::cerr << "differs at line " << i + 1 << ": golden \"" << want << "\", now \"" << got << "\"\n";
            return 1;
        }
    }
    std::cout << lines.size() << " lines as recorded\n";
    return 0;
}
