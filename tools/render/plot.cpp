#include "plot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/imageCanvas.h"
#include "toolError.h"

namespace render {

using platform::Colour;
using platform::Point;
using platform::TextAlign;

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 860;
constexpr double kLeft = 96.0, kRight = kWidth - 44.0;
constexpr double kLevelTop = 128.0, kLevelBottom = 486.0;
constexpr double kReductionTop = 548.0, kReductionBottom = 760.0;
constexpr double kRmsWindowSeconds = 0.05;

const Colour kBackground{0.067, 0.078, 0.094};
const Colour kPanel{0.094, 0.110, 0.133};
const Colour kGrid{1.0, 1.0, 1.0, 0.07};
const Colour kAxisText{0.62, 0.66, 0.72};
const Colour kTitle{0.95, 0.96, 0.97};
const Colour kInput{0.36, 0.64, 1.0};
const Colour kOutput{1.0, 0.72, 0.30};
const Colour kReduction{1.0, 0.38, 0.36};

Colour withAlpha(Colour c, double a) { return {c.r, c.g, c.b, a}; }

// Time in the timeline's columns: prefix sums over segments give any window's level.
class Levels {
public:
    explicit Levels(const RenderStatistics& st) : st(st) {
        const auto& segments = st.timeline();
        inSum.assign(segments.size() + 1, 0.0);
        outSum.assign(segments.size() + 1, 0.0);
        count.assign(segments.size() + 1, 0.0);
        for (size_t i = 0; i < segments.size(); ++i) {
            inSum[i + 1] = inSum[i] + segments[i].inputSquares;
            outSum[i + 1] = outSum[i] + segments[i].outputSquares;
            count[i + 1] = count[i] + static_cast<double>(segments[i].samples);
        }
    }

    // RMS level in dB of the window centred on `seconds`; NaN for silence.
    std::pair<double, double> at(double seconds) const {
        const double perSegment = st.segmentFrames() / st.sampleRate();
        const long n = static_cast<long>(inSum.size()) - 1;
        long from = static_cast<long>((seconds - kRmsWindowSeconds / 2.0) / perSegment);
        long to = static_cast<long>(std::ceil((seconds + kRmsWindowSeconds / 2.0) / perSegment));
        from = std::clamp(from, 0L, n);
        to = std::clamp(std::max(to, from + 1), 0L, n);
        const double samples = count[to] - count[from];
        if (samples <= 0.0) return {std::nan(""), std::nan("")};
        return {decibels((inSum[to] - inSum[from]) / samples), decibels((outSum[to] - outSum[from]) / samples)};
    }

private:
    static double decibels(double meanSquare) {
        return meanSquare > 1e-20 ? 10.0 * std::log10(meanSquare) : std::nan("");
    }
    const RenderStatistics& st;
    std::vector<double> inSum, outSum, count;
};

double niceTimeStep(double seconds) {
    for (double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1200.0})
        if (seconds / step <= 12.0) return step;
    return 3600.0;
}

// Minutes and seconds for anything of two minutes or more, all along the axis.
std::string timeLabel(double seconds, double step, double total) {
    char text[32];
    if (total >= 120.0)
        std::snprintf(text, sizeof(text), "%d:%02d", static_cast<int>(seconds) / 60,
                      static_cast<int>(seconds) % 60);
    else if (step < 1.0)
        std::snprintf(text, sizeof(text), "%.1f s", seconds);
    else
        std::snprintf(text, sizeof(text), "%.0f s", seconds);
    return text;
}

std::string dbLabel(double db) {
    char text[16];
    if (db == 0.0) return "0";
    std::snprintf(text, sizeof(text), "\xe2\x88\x92%.0f", -db);  // a true minus sign
    return text;
}

// The text cut to fit the width, with an ellipsis where it was cut.
std::string fitted(platform::ImageCanvas& c, std::string text, double size, double width) {
    if (c.textWidth(text, size) <= width) return text;
    const std::string ellipsis = "\xe2\x80\xa6";
    while (!text.empty() && c.textWidth(text + ellipsis, size) > width) {
        text.pop_back();
        // Never leave half of a multi-byte character behind.
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
        if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0) text.pop_back();
    }
    return text + ellipsis;
}

// A level with a true minus sign, "-inf" for silence.
std::string signedDb(double linear) {
    const double db = toDecibels(linear);
    if (std::isinf(db)) return "\xe2\x88\x92inf";
    char text[32];
    std::snprintf(text, sizeof(text), "%s%.1f", db < 0.0 ? "\xe2\x88\x92" : "", std::fabs(db));
    return text;
}

void panel(platform::ImageCanvas& c, double top, double bottom, const std::string& title,
           const std::string& unit) {
    c.fillRect(kLeft, top, kRight - kLeft, bottom - top, kPanel, 6.0);
    c.text({kLeft, top - 12.0}, title, 17.0, kTitle, TextAlign::left, true);
    c.text({kLeft - 58.0, (top + bottom) / 2.0}, unit, 13.0, kAxisText, TextAlign::centre, false, true);
}

void horizontalGrid(platform::ImageCanvas& c, double top, double bottom, double dbTop, double dbBottom,
                    double step) {
    for (double db = dbTop; db >= dbBottom - 1e-9; db -= step) {
        const double y = top + (dbTop - db) / (dbTop - dbBottom) * (bottom - top);
        c.line({kLeft, y}, {kRight, y}, kGrid, 1.0);
        c.text({kLeft - 10.0, y + 4.5}, dbLabel(db), 13.0, kAxisText, TextAlign::right);
    }
}

void timeAxis(platform::ImageCanvas& c, double seconds) {
    const double step = niceTimeStep(seconds);
    for (double t = 0.0; t <= seconds + 1e-9; t += step) {
        const double x = kLeft + t / seconds * (kRight - kLeft);
        c.line({x, kLevelTop}, {x, kLevelBottom}, kGrid, 1.0);
        c.line({x, kReductionTop}, {x, kReductionBottom}, kGrid, 1.0);
        c.text({x, kReductionBottom + 22.0}, timeLabel(t, step, seconds), 13.0, kAxisText, TextAlign::centre);
    }
}

void legendEntry(platform::ImageCanvas& c, double& x, double y, Colour colour, const std::string& text) {
    c.fillRect(x, y - 10.0, 22.0, 10.0, withAlpha(colour, 0.85), 2.0);
    c.text({x + 30.0, y}, text, 14.0, kTitle, TextAlign::left);
    x += 30.0 + c.textWidth(text, 14.0) + 26.0;
}

// The area under a curve down to `base`, as one polygon per unbroken run.
void area(platform::ImageCanvas& c, const std::vector<Point>& curve, double base, Colour colour,
          double topAlpha, double bottomAlpha) {
    std::vector<Point> run;
    auto flush = [&] {
        if (run.size() >= 2) {
            std::vector<Point> polygon = run;
            polygon.push_back({run.back().x, base});
            polygon.push_back({run.front().x, base});
            c.fillPolygon(polygon, withAlpha(colour, topAlpha), withAlpha(colour, bottomAlpha));
            c.polyline(run, colour, 1.6);
        }
        run.clear();
    };
    for (const Point& p : curve) {
        if (std::isnan(p.y)) {
            flush();
            continue;
        }
        run.push_back(p);
    }
    flush();
}

}  // namespace

void drawPlot(const RenderStatistics& st, const PlotLabels& labels, const std::string& path) {
    auto canvas = platform::createImageCanvas(kWidth, kHeight);
    platform::ImageCanvas& c = *canvas;
    c.fillRect(0, 0, kWidth, kHeight, kBackground);
    c.text({kLeft - 56.0, 50.0}, labels.title, 26.0, kTitle, TextAlign::left, true);
    c.text({kLeft - 56.0, 78.0}, fitted(c, labels.subtitle, 15.0, kRight - kLeft + 56.0), 15.0,
           kAxisText, TextAlign::left);

    const double seconds = std::max(st.seconds(), 1e-3);
    const int columns = static_cast<int>(kRight - kLeft);
    const Levels levels(st);

    // Level panel: the floor follows the material, in 12 dB steps.
    std::vector<std::pair<double, double>> columnLevels(columns);
    double quietest = 0.0;
    for (int i = 0; i < columns; ++i) {
        columnLevels[i] = levels.at((i + 0.5) / columns * seconds);
        if (!std::isnan(columnLevels[i].first)) quietest = std::min(quietest, columnLevels[i].first);
    }
    const double floorDb = std::clamp(std::floor((quietest - 3.0) / 12.0) * 12.0, -96.0, -36.0);
    auto levelY = [&](double db) {
        if (std::isnan(db)) return std::nan("");
        db = std::clamp(db, floorDb, 0.0);
        return kLevelTop + (0.0 - db) / (0.0 - floorDb) * (kLevelBottom - kLevelTop);
    };
    panel(c, kLevelTop, kLevelBottom, "Level (RMS, 50 ms)", "dBFS");
    horizontalGrid(c, kLevelTop, kLevelBottom, 0.0, floorDb, 6.0);

    // Gain-reduction panel: the plug-in's meter, or the level change when it has none.
    const bool metered = st.hasGainReduction();
    std::vector<Point> reduction;
    double deepest = 0.0;
    if (metered) {
        const double perSegment = st.segmentFrames() / st.sampleRate();
        const auto& segments = st.timeline();
        for (size_t i = 0; i < segments.size(); ++i) {
            if (!segments[i].reductionCount) continue;
            const double gr = segments[i].reductionSum / segments[i].reductionCount;
            reduction.push_back({kLeft + (i + 0.5) * perSegment / seconds * (kRight - kLeft), -gr});
            deepest = std::min(deepest, -gr);
        }
    } else {
        for (int i = 0; i < columns; ++i) {
            const auto [in, out] = columnLevels[i];
            const double change = std::isnan(in) || std::isnan(out) ? std::nan("") : std::min(0.0, out - in);
            reduction.push_back({kLeft + i + 0.5, change});
            if (!std::isnan(change)) deepest = std::min(deepest, change);
        }
    }
    const double reductionStep = deepest < -24.0 ? 12.0 : deepest < -12.0 ? 6.0 : 3.0;
    const double reductionFloor = std::min(-6.0, std::floor(deepest / reductionStep) * reductionStep);
    panel(c, kReductionTop, kReductionBottom,
          metered ? "Gain reduction (the plug-in's meter)" : "Level change, output against input",
          "dB");
    horizontalGrid(c, kReductionTop, kReductionBottom, 0.0, reductionFloor, reductionStep);
    timeAxis(c, seconds);

    std::vector<Point> inputCurve, outputCurve;
    for (int i = 0; i < columns; ++i) {
        inputCurve.push_back({kLeft + i + 0.5, levelY(columnLevels[i].first)});
        outputCurve.push_back({kLeft + i + 0.5, levelY(columnLevels[i].second)});
    }
    c.clip(kLeft, kLevelTop, kRight - kLeft, kLevelBottom - kLevelTop);
    area(c, inputCurve, kLevelBottom, kInput, 0.55, 0.10);
    std::vector<Point> run;
    for (const Point& p : outputCurve) {
        if (std::isnan(p.y)) {
            c.polyline(run, kOutput, 2.2);
            run.clear();
        } else {
            run.push_back(p);
        }
    }
    c.polyline(run, kOutput, 2.2);
    c.unclip();

    for (Point& p : reduction)
        if (!std::isnan(p.y))
            p.y = kReductionTop + p.y / reductionFloor * (kReductionBottom - kReductionTop);
    c.clip(kLeft, kReductionTop, kRight - kLeft, kReductionBottom - kReductionTop);
    std::vector<Point> hanging;  // the reduction hangs from the 0 dB line
    for (const Point& p : reduction) hanging.push_back(p);
    area(c, hanging, kReductionTop, kReduction, 0.15, 0.6);
    c.unclip();

    // The legend sits right-aligned on the level panel's title line.
    const std::vector<std::pair<Colour, std::string>> legend = {
        {kInput, "Input level"}, {kOutput, "Output level"},
        {kReduction, metered ? "Gain reduction" : "Level change"}};
    double legendWidth = -26.0;
    for (const auto& entry : legend) legendWidth += 30.0 + c.textWidth(entry.second, 14.0) + 26.0;
    double x = kRight - legendWidth;
    for (const auto& entry : legend) legendEntry(c, x, kLevelTop - 12.0, entry.first, entry.second);

    std::string footerText = "Input peak " + signedDb(st.inputPeak()) + " dBFS, RMS " +
                             signedDb(st.inputRms()) + " dBFS      Output peak " +
                             signedDb(st.outputPeak()) + " dBFS, RMS " + signedDb(st.outputRms()) + " dBFS";
    if (metered) {
        char gr[96];
        std::snprintf(gr, sizeof(gr), "      Gain reduction average %.1f dB, maximum %.1f dB",
                      st.averageReductionDb(), st.maximumReductionDb());
        footerText += gr;
    }
    c.text({kLeft, kHeight - 28.0}, footerText, 14.0, kAxisText, TextAlign::left);

    if (!c.savePng(path)) throw ToolError("cannot write the plot " + path);
}

}  // namespace render
