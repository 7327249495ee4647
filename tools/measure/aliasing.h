// Aliasing and DC of the valve: a steady sine through Valve at a setting,
// its harmonics' images below the Nyquist frequency measured against the
// fundamental.
#pragma once

#include <vector>

#include "measureRun.h"

namespace measure {

struct AliasCase {
    double rate;
    double frequency;    // moved to the nearest odd bin of the analysis
    double dbfs;
    double compression;
    int oversampling;    // 0 Off, 1 2x, 2 4x
    int process = 2;     // Valve; Clear (1) shows what the gain path alone makes
};

struct AliasResult {
    double worstAlias;    // dB under the fundamental
    double worstAliasHz;  // where it lies
    double worstAudible;  // the same up to 20 kHz
    double dc;            // the output's mean, dBFS
    std::vector<double> spectrum;  // amplitude per bin (kAnalysisSize / 2 + 1 bins)
};

inline constexpr int kAnalysisSize = 65536;

AliasResult measureAliasing(const Subject& subject, const AliasCase& c);

}  // namespace measure
