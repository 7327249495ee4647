// The picture of a render: input and output level over time above the gain
// reduction the plug-in's meter showed, drawn as a PNG.
#pragma once

#include <string>

#include "statistics.h"

namespace render {

struct PlotLabels {
    std::string title;     // e.g. "Korvane Brassel - demo loop"
    std::string subtitle;  // the settings
};

// Draws the statistics' timeline into a PNG at path; throws ToolError when
// the file cannot be written.
void drawPlot(const RenderStatistics& statistics, const PlotLabels& labels, const std::string& path);

}  // namespace render
