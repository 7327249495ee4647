// The measurements as pictures: panels of curves over a shared axis, in the
// colours of kvbr-render's plots.
#pragma once

#include <string>
#include <vector>

#include "platform/imageCanvas.h"

namespace measure {

struct Curve {
    std::string label;
    platform::Colour colour;
    std::vector<double> x, y;  // y in dB; each pixel column shows the loudest point in it
};

struct Panel {
    std::string title;
    std::vector<Curve> curves;
};

struct Chart {
    std::string title, subtitle;
    std::string xUnit, yUnit;  // axis titles
    double xMin, xMax, xStep;  // the x axis and its grid
    double yMax, yMin, yStep;  // dB, top to bottom
    double xScale = 1.0;       // the grid's labels are x / xScale
    std::vector<Panel> panels;
};

// Writes the chart as a PNG; throws render::ToolError when it cannot.
void drawChart(const Chart& chart, const std::string& path);

}  // namespace measure
