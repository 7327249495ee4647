// Clicks at a change of settings: a 100 Hz sine at -12 dBFS, the change made
// on a waveform peak, and the peak of everything above 2 kHz in the output
// (a fourth-order high-pass) over the 100 ms after it.
#pragma once

#include <vector>

#include "measureRun.h"

namespace measure {

struct ClickCase {
    const char* name;
    Settings from;
    Settings to;
};

struct ClickResult {
    double peak;       // dBFS above 2 kHz after the change
    double reduction;  // dB of gain reduction the meter showed at the change
    std::vector<double> highPassed;  // from 50 ms before the change to 100 ms after
};

inline constexpr double kClickRate = 48000.0;

ClickResult measureClick(const Subject& subject, const ClickCase& c);

}  // namespace measure
