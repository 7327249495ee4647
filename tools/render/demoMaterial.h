// The built-in material: a drum-and-bass loop synthesised in code, no samples.
#pragma once

#include <vector>

namespace render {

constexpr double kDemoRate = 48000.0;
constexpr double kDemoSeconds = 8.0;

// Eight seconds (six bars at 180 BPM) of kick, snare, hats and a bass line,
// interleaved stereo at `rate`, with the dynamics a compressor is for: a
// quiet intro, the groove coming in, a breakdown and a loud fill at the end.
// The same every time.
std::vector<double> synthesiseDemoLoop(double rate = kDemoRate);

// The benchmark's fixed signal: the loop repeated to `seconds`, stereo.
std::vector<double> benchSignal(double seconds, double rate = kDemoRate);

}  // namespace render
