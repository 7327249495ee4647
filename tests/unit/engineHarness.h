// Drives an AutoComp directly, with a host whose pin answers a test can set.
#pragma once

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"

namespace harness {

// What the host answers to audioMasterPinConnected (0 means connected).
inline vst2::intptr& pinAnswer() {
    static vst2::intptr answer = 0;
    return answer;
}

inline vst2::intptr host(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*,
                         float) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    if (opcode == vst2::audioMasterPinConnected) return pinAnswer();
    return 0;
}

struct Settings {
    float process = 0.5f;  // Clear
    float ratio = 0.5f;
    float time = 0.5f;
    float compression = 0.5f;
    float output = 0.0f;
};

// The path is the one new effects take on this processor unless a test asks.
inline std::unique_ptr<AutoComp> makeEffect(const Settings& s = Settings(), float rate = 44100.0f,
                                            EnginePath path = defaultEnginePath()) {
    platform::headless::memorySettingsStore().clear();
    pinAnswer() = 0;
    auto e = std::make_unique<AutoComp>(host);
    e->core().setEnginePath(path);
    e->setSampleRate(rate);
    e->resume();
    e->setParameter(0, s.process);
    e->setParameter(2, s.ratio);
    e->setParameter(4, s.time);
    e->setParameter(5, s.compression);
    e->setParameter(6, s.output);
    return e;
}

// A stereo pair of buffers and the pointer arrays a host hands over.
template <typename Sample>
struct Buffers {
    explicit Buffers(size_t n) : inL(n), inR(n), outL(n), outR(n) {}
    std::vector<Sample> inL, inR, outL, outR;
    Sample* in[2];
    Sample* out[2];
    Sample** inputs() {
        in[0] = inL.data();
        in[1] = inR.data();
        return in;
    }
    Sample** outputs() {
        out[0] = outL.data();
        out[1] = outR.data();
        return out;
    }
};

inline double sine(long t, double freq, double rate, double amp = 1.0) {
    return amp * std::sin(6.283185307179586 * freq * t / rate);
}

inline bool isDenormal(double x) { return std::fpclassify(x) == FP_SUBNORMAL; }

}  // namespace harness
