// A fixed processing run through the plug-in's VST 2.x interface, shared by
// the Linux program that records it (kvbr-reference) and the Windows test host
// that replays it: the same cases, the same input and one file format, so the
// two builds' outputs can be compared sample by sample.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"

namespace reference {

constexpr int kFrames = 8192;
constexpr int kBlock = 512;
constexpr char kMagic[8] = {'K', 'V', 'B', 'R', 'R', 'E', 'F', '1'};

struct Case {
    const char* name;
    float sampleRate;
    int inputs, outputs;  // the channel layout negotiated first
    float process, ratio, time, compression, output;
    float laterCompression;  // set half-way through, so the gain smoothers move
};

constexpr Case kCases[] = {
    {"clear-2in2out-44k", 44100.0f, 2, 2, 0.5f, 0.5f, 0.3f, 0.75f, 0.2f, 0.4f},
    {"valve-2in2out-48k", 48000.0f, 2, 2, 1.0f, 1.0f, 0.05f, 1.0f, 0.5f, 0.6f},
    {"valve-1in2out-96k", 96000.0f, 1, 2, 1.0f, 0.0f, 1.0f, 0.375f, 0.0f, 0.9f},
    {"off-1in1out-44k", 44100.0f, 1, 1, 0.0f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f},
};
constexpr int kNumCases = static_cast<int>(sizeof(kCases) / sizeof(kCases[0]));

// The outputs of one case in both sample widths.
struct Output {
    std::vector<float> floatLeft, floatRight;
    std::vector<double> doubleLeft, doubleRight;
};

// Bursts of two tones and a little noise at four levels, the last above full
// scale. Made with additions and multiplications only, so every IEEE machine
// produces the same bits without asking its maths library.
inline void makeInput(std::vector<double>& left, std::vector<double>& right) {
    left.assign(kFrames, 0.0);
    right.assign(kFrames, 0.0);
    double c1 = 1.0, s1 = 0.0, c2 = 1.0, s2 = 0.0;
    // One rotation a sample: 445 Hz and 180 Hz at 44.1 kHz.
    const double cw1 = 0.9979907818233006, sw1 = 0.06335928815664796;
    const double cw2 = 0.9996711682306798, sw2 = 0.025642843218095453;
    std::uint32_t lcg = 12345u;
    const double levels[4] = {0.05, 0.9, 0.2, 1.2};
    for (int i = 0; i < kFrames; ++i) {
        double t = c1 * cw1 - s1 * sw1;
        s1 = s1 * cw1 + c1 * sw1;
        c1 = t;
        t = c2 * cw2 - s2 * sw2;
        s2 = s2 * cw2 + c2 * sw2;
        c2 = t;
        lcg = lcg * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(lcg >> 8) / 16777216.0 - 0.5) * 0.02;
        const double level = levels[(i / (kFrames / 4)) % 4];
        left[static_cast<size_t>(i)] = level * (0.7 * s1 + 0.3 * s2 + noise);
        right[static_cast<size_t>(i)] = level * (0.4 * s1 - 0.6 * s2 - noise);
    }
}

inline vst2::intptr host(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr, void*,
                         float) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    return 0;  // pins count as connected; every other request is declined
}

using Entry = vst2::AEffect* (*)(vst2::audioMasterCallback);

inline void prepare(vst2::AEffect* e, const Case& c) {
    e->dispatcher(e, vst2::effOpen, 0, 0, nullptr, 0.0f);
    vst2::VstSpeakerArrangement in{}, out{};
    in.numChannels = c.inputs;
    out.numChannels = c.outputs;
    e->dispatcher(e, vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::intptr>(&in), &out,
                  0.0f);
    e->dispatcher(e, vst2::effSetSampleRate, 0, 0, nullptr, c.sampleRate);
    e->dispatcher(e, vst2::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    e->dispatcher(e, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
    e->setParameter(e, 0, c.process);
    e->setParameter(e, 2, c.ratio);
    e->setParameter(e, 4, c.time);
    e->setParameter(e, 5, c.compression);
    e->setParameter(e, 6, c.output);
}

template <typename Sample>
void process(vst2::AEffect* e, const Case& c, const std::vector<double>& inLeft,
             const std::vector<double>& inRight, std::vector<Sample>& outLeft,
             std::vector<Sample>& outRight) {
    std::vector<Sample> l(inLeft.begin(), inLeft.end()), r(inRight.begin(), inRight.end());
    outLeft.assign(kFrames, Sample(0));
    outRight.assign(kFrames, Sample(0));
    for (int start = 0; start < kFrames; start += kBlock) {
        if (start == kFrames / 2) e->setParameter(e, 5, c.laterCompression);
        Sample* inputs[2] = {l.data() + start, r.data() + start};
        Sample* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        if constexpr (sizeof(Sample) == sizeof(float))
            e->processReplacing(e, inputs, outputs, kBlock);
        else
            e->processDoubleReplacing(e, inputs, outputs, kBlock);
    }
}

// Runs one case through a fresh instance for each width; false if the entry
// point gave no effect.
inline bool run(Entry entry, const Case& c, const std::vector<double>& inLeft,
                const std::vector<double>& inRight, Output& result) {
    for (int width = 0; width < 2; ++width) {
        vst2::AEffect* e = entry(host);
        if (!e) return false;
        prepare(e, c);
        if (width == 0)
            process<float>(e, c, inLeft, inRight, result.floatLeft, result.floatRight);
        else
            process<double>(e, c, inLeft, inRight, result.doubleLeft, result.doubleRight);
        e->dispatcher(e, vst2::effClose, 0, 0, nullptr, 0.0f);
    }
    return true;
}

// File: magic, case count, frame count (int32 each, little-endian as the
// machine writes them), then per case the double input pair, the float output
// pair and the double output pair.
struct Recording {
    std::vector<double> inLeft, inRight;
    std::vector<Output> outputs;
};

template <typename T>
bool writeAll(std::FILE* f, const std::vector<T>& v) {
    return std::fwrite(v.data(), sizeof(T), v.size(), f) == v.size();
}

template <typename T>
bool readAll(std::FILE* f, std::vector<T>& v) {
    v.assign(kFrames, T(0));
    return std::fread(v.data(), sizeof(T), v.size(), f) == v.size();
}

inline bool save(const char* path, const Recording& rec) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const std::int32_t counts[2] = {kNumCases, kFrames};
    bool ok = std::fwrite(kMagic, 1, sizeof(kMagic), f) == sizeof(kMagic) &&
              std::fwrite(counts, sizeof(counts), 1, f) == 1 && writeAll(f, rec.inLeft) &&
              writeAll(f, rec.inRight);
    for (const Output& o : rec.outputs)
        ok = ok && writeAll(f, o.floatLeft) && writeAll(f, o.floatRight) &&
             writeAll(f, o.doubleLeft) && writeAll(f, o.doubleRight);
    return std::fclose(f) == 0 && ok;
}

inline bool load(const char* path, Recording& rec) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char magic[sizeof(kMagic)];
    std::int32_t counts[2] = {};
    bool ok = std::fread(magic, 1, sizeof(magic), f) == sizeof(magic) &&
              std::memcmp(magic, kMagic, sizeof(kMagic)) == 0 &&
              std::fread(counts, sizeof(counts), 1, f) == 1 && counts[0] == kNumCases &&
              counts[1] == kFrames && readAll(f, rec.inLeft) && readAll(f, rec.inRight);
    rec.outputs.assign(kNumCases, Output());
    for (Output& o : rec.outputs)
        ok = ok && readAll(f, o.floatLeft) && readAll(f, o.floatRight) &&
             readAll(f, o.doubleLeft) && readAll(f, o.doubleRight);
    ok = ok && std::fgetc(f) == EOF;
    std::fclose(f);
    return ok;
}

// The largest difference between two runs, relative to the larger magnitude
// of each sample pair; differences below 1e-15 absolute (far under the
// engine's own anti-denormal noise) count as none.
template <typename Sample>
double maxRelativeDifference(const std::vector<Sample>& a, const std::vector<Sample>& b) {
    if (a.size() != b.size()) return INFINITY;
    double worst = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double x = a[i], y = b[i];
        if (!std::isfinite(x) || !std::isfinite(y)) return INFINITY;
        const double diff = std::fabs(x - y);
        if (diff <= 1e-15) continue;
        const double scale = std::fmax(std::fabs(x), std::fabs(y));
        worst = std::fmax(worst, diff / scale);
    }
    return worst;
}

}  // namespace reference
