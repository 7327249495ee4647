// One measured render: an effect at settings given in real units, a signal
// through it in blocks, and a change of settings at a chosen frame.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "effect.h"

namespace measure {

// Control name (as in the core's control table) and its value in real units.
struct Setting {
    std::string control;
    double value;
};
using Settings = std::vector<Setting>;

// What is measured: the built-in compressor, or a VST 2.x build of it.
struct Subject {
    std::string name;                 // as the reports print it
    std::optional<std::string> path;  // none: the built-in compressor
};

// Sets each control on the effect; a control the effect does not have (the
// oversampling of a build without it) throws render::UsageError.
void apply(render::Effect& effect, const Settings& settings);

struct RenderRun {
    double rate = 48000.0;
    Settings settings;
    Settings change;         // applied before `changeAt`, if any
    long changeAt = -1;
    int block = 512;
};

// The mono signal through the subject (both channels fed alike); the left output.
std::vector<double> render(const Subject& subject, const RenderRun& run, const std::vector<double>& input,
                           double* meterAtChange = nullptr);

// A sine of `frequency` at `dbfs` peak level, `frames` long.
std::vector<double> sine(double frequency, double dbfs, double rate, long frames);

double decibels(double amplitude);

}  // namespace measure
