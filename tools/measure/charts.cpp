#include "charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "toolError.h"

namespace measure {

using platform::Colour;
using platform::Point;
using platform::TextAlign;

namespace {

constexpr double kWidth = 1400, kLeft = 96, kRight = kWidth - 44;
constexpr double kTop = 120, kPanelHeight = 300, kPanelGap = 64, kBottomMargin = 70;
const Colour kBackground{0.067, 0.078, 0.094};
const Colour kPanelColour{0.094, 0.110, 0.133};
const Colour kGrid{1.0, 1.0, 1.0, 0.07};
const Colour kAxisText{0.62, 0.66, 0.72};
const Colour kTitle{0.95, 0.96, 0.97};

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%g", v < 0 ? "\xe2\x88\x92" : "", std::fabs(v));
    return text;
}

// The curve reduced to the loudest point of each pixel column.
std::vector<Point> columns(const Curve& curve, const Chart& chart, double top) {
    const int width = static_cast<int>(kRight - kLeft);
    std::vector<double> loudest(width, -std::numeric_limits<double>::infinity());
    for (size_t i = 0; i < curve.x.size(); ++i) {
        const int column = static_cast<int>((curve.x[i] - chart.xMin) / (chart.xMax - chart.xMin) * width);
        if (column >= 0 && column < width) loudest[column] = std::max(loudest[column], curve.y[i]);
    }
    std::vector<Point> points;
    for (int column = 0; column < width; ++column) {
        if (std::isinf(loudest[column])) continue;
        const double y = std::clamp(loudest[column], chart.yMin, chart.yMax);
        points.push_back({kLeft + column + 0.5,
                          top + (chart.yMax - y) / (chart.yMax - chart.yMin) * kPanelHeight});
    }
    return points;
}

}  // namespace

void drawChart(const Chart& chart, const std::string& path) {
    const int panels = static_cast<int>(chart.panels.size());
    const double height = kTop + panels * kPanelHeight + (panels - 1) * kPanelGap + kBottomMargin;
    auto canvas = platform::createImageCanvas(static_cast<int>(kWidth), static_cast<int>(height));
    platform::ImageCanvas& c = *canvas;
    c.fillRect(0, 0, kWidth, height, kBackground);
    c.text({kLeft, 44}, chart.title, 24, kTitle, TextAlign::left, true);
    c.text({kLeft, 72}, chart.subtitle, 15, kAxisText, TextAlign::left);
    for (int p = 0; p < panels; ++p) {
        const Panel& panel = chart.panels[p];
        const double top = kTop + p * (kPanelHeight + kPanelGap), bottom = top + kPanelHeight;
        c.fillRect(kLeft, top, kRight - kLeft, kPanelHeight, kPanelColour, 6);
        c.text({kLeft, top - 12}, panel.title, 17, kTitle, TextAlign::left, true);
        c.text({kLeft - 58, (top + bottom) / 2}, chart.yUnit, 13, kAxisText, TextAlign::centre, false, true);
        for (double db = chart.yMax; db >= chart.yMin - 1e-9; db -= chart.yStep) {
            const double y = top + (chart.yMax - db) / (chart.yMax - chart.yMin) * kPanelHeight;
            c.line({kLeft, y}, {kRight, y}, kGrid, 1);
            c.text({kLeft - 10, y + 4.5}, number(db), 13, kAxisText, TextAlign::right);
        }
        for (double x = chart.xMin; x <= chart.xMax + 1e-9; x += chart.xStep) {
            const double at = kLeft + (x - chart.xMin) / (chart.xMax - chart.xMin) * (kRight - kLeft);
            c.line({at, top}, {at, bottom}, kGrid, 1);
            c.text({at, bottom + 20}, number(std::round(x / chart.xScale * 1000) / 1000), 13, kAxisText,
                   TextAlign::centre);
        }
        c.clip(kLeft, top, kRight - kLeft, kPanelHeight);
        for (const Curve& curve : panel.curves) c.polyline(columns(curve, chart, top), curve.colour, 1.4);
        c.unclip();
        double x = kRight;
        for (auto curve = panel.curves.rbegin(); curve != panel.curves.rend(); ++curve) {
            x -= c.textWidth(curve->label, 14) + 30;
            c.fillRect(x - 26, top - 22, 20, 10, curve->colour, 2);
            c.text({x, top - 12}, curve->label, 14, kTitle, TextAlign::left);
            x -= 24;
        }
    }
    c.text({(kLeft + kRight) / 2, height - 22}, chart.xUnit, 14, kAxisText, TextAlign::centre);
    if (!c.savePng(path)) throw render::ToolError("cannot write " + path);
}

}  // namespace measure
