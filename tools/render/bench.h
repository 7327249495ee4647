// --bench: how fast the built-in compressor and plug-ins process a fixed
// stereo signal, side by side.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "options.h"

namespace render {

constexpr double kBenchSeconds = 60.0;
constexpr double kBenchRate = 48000.0;
constexpr int kBenchBlock = 512;

struct BenchResult {
    std::string name;
    int precision = 32;
    std::vector<double> runSeconds;
    double medianNsPerFrame() const;
    double minimumNsPerFrame() const;
    double realTimeFactor() const;  // from the median run
};

// Measures the built-in compressor, then each plug-in, in turn and prints
// the table; answers the results.
std::vector<BenchResult> runBench(const Options& options, const std::vector<std::string>& plugins,
                                  std::FILE* out);

}  // namespace render
