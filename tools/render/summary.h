// The account of a render: printed for people, written as JSON for scripts.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "audioFile.h"
#include "effect.h"
#include "statistics.h"

namespace render {

struct ParameterState {
    int index = 0;
    std::string name;
    std::string display;
    float value = 0.0f;
};

struct RenderSummary {
    PluginIdentity plugin;
    std::string inputName;  // the input path, or a description of built-in material
    AudioInfo input;
    std::string outputPath;  // empty when nothing was written
    std::string outputFormat;
    std::string plotPath;
    std::string reportPath;
    std::string sourceCopyPath;  // the demo's own input, written for listening side by side
    std::string editorPath;      // the picture of the editor, empty when none was drawn
    std::string preset;  // the preset applied, if any
    int precision = 32;
    int blockSize = 512;
    std::vector<ParameterState> parameters;  // the named ones, as rendered
    std::vector<int> changed;                // indices the command line set
    const RenderStatistics* statistics = nullptr;
    double elapsedSeconds = 0.0;

    double realTimeFactor() const;
};

// The parameters with names, as the effect shows them now.
std::vector<ParameterState> namedParameters(Effect& effect);

// The settings in one line: every named parameter of a small plug-in, only
// the ones the command line set of a large one.
std::string settingsText(const RenderSummary& summary);

void printSummary(const RenderSummary& summary, std::FILE* out);
std::string summaryJson(const RenderSummary& summary);

// A level for people: "-3.2 dBFS", or "-inf dBFS" for silence.
std::string formatDbfs(double linear);

}  // namespace render
