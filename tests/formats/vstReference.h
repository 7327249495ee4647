// What the tests of every plug-in format compare against: the VST 2.x
// plug-in driven through the test host with the normalised values the same
// control steps stand for, the core itself for the controls that plug-in
// lacks, and the test signals they all get.
#pragma once

#include <vector>

#include "TestHost.h"
#include "sameSamples.h"
#include "core/Compressor.h"
#include "core/controls.h"

using Channels = std::vector<std::vector<float>>;
using DoubleChannels = std::vector<std::vector<double>>;

// Control values in real units, in the order of the controls table.
struct PortSettings {
    float process = 2, ratio = 3, time = 5, compression = 5, output = 0, oversampling = 0;
    float mix = 100, sidechainFilter = 0, key = 0;
    float value(int control) const;
};

// Loud and quiet bursts of two tones with a little noise, different per channel.
Channels testSignal(int channels, int frames, unsigned seed = 1);

class VstReference {
public:
    // mono: the 1-in-1-out arrangement; otherwise 2 in, 2 out.
    VstReference(double rate, bool mono);
    void apply(const PortSettings& settings);
    Channels process(const Channels& in, int block = 512);
    DoubleChannels process(const DoubleChannels& in, int block = 512);
    double meterReading();
    TestHost host;
};

// The core driven directly, with every control of the table and a key
// input, for what the VST 2.x plug-in cannot do (Mix, Sidechain Filter, Key).
class CoreReference {
public:
    CoreReference(double rate, bool mono);
    void apply(const PortSettings& settings);
    // key: null for none connected; otherwise as many channels as in.
    Channels process(const Channels& in, const Channels* key = nullptr, int block = 512);
    Compressor compressor;
    bool mono;
};
