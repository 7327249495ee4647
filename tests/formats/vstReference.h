// What the tests of every plug-in format compare against: the VST 2.x
// plug-in driven through the test host with the normalised values the same
// control steps stand for, and the test signals both get.
#pragma once

#include <vector>

#include "TestHost.h"
#include "sameSamples.h"
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
