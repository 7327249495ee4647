// Korvane Brassel's presets for the renderer: the factory bank, preset and
// bank files read with the plug-in's own file-format code, and applying one
// program to a loaded instance through the ordinary parameter interface.
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "effect.h"
#include "options.h"

namespace render {

constexpr int kKvbrParameters = 12;

struct ProgramValues {
    std::string name;
    std::array<float, kKvbrParameters> values{};
    bool namesOnly = false;  // a file of an older layout that carries no values
};

// The program the options choose (--preset, --slot, --preset-file,
// --bank-file), or none. Throws ToolError/UsageError for a missing name, a
// bad slot or a file that is not a preset or bank file.
std::optional<ProgramValues> chooseProgram(const Options& options);

// Sets the twelve values through the effect's setParameter, index 0 to 11.
void applyProgram(Effect& effect, const ProgramValues& program);

// The factory bank as --list shows it, with each preset's display texts.
void printFactoryPresets(Effect& effect, std::FILE* out);

// The values of the factory "Default" preset, which the demo uses.
ProgramValues defaultProgram();

}  // namespace render
