// An offscreen picture that tools draw charts on and save as PNG.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

struct Colour {
    double r, g, b, a = 1.0;
};

struct Point {
    double x, y;
};

enum class TextAlign { left, centre, right };

class ImageCanvas {
public:
    virtual ~ImageCanvas() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void fillRect(double x, double y, double w, double h, Colour colour,
                          double cornerRadius = 0.0) = 0;
    virtual void strokeRect(double x, double y, double w, double h, Colour colour,
                            double lineWidth, double cornerRadius = 0.0) = 0;
    // A dash of 0 draws a solid line.
    virtual void line(Point from, Point to, Colour colour, double lineWidth,
                      double dash = 0.0) = 0;
    virtual void polyline(const std::vector<Point>& points, Colour colour, double lineWidth) = 0;
    // Fills the closed polygon with a vertical gradient from `top` at the
    // polygon's highest point to `bottom` at its lowest.
    virtual void fillPolygon(const std::vector<Point>& points, Colour top, Colour bottom) = 0;

    // Drawing is limited to the rectangle until unclip.
    virtual void clip(double x, double y, double w, double h) = 0;
    virtual void unclip() = 0;

    // Text with its baseline at `at`, aligned around at.x; `vertical` turns it
    // to read upwards (for a y-axis title).
    virtual void text(Point at, const std::string& utf8, double size, Colour colour,
                      TextAlign align, bool bold = false, bool vertical = false) = 0;
    virtual double textWidth(const std::string& utf8, double size, bool bold = false) = 0;

    // Writes the picture; false when the file cannot be written.
    virtual bool savePng(const std::string& path) = 0;
};

// A transparent canvas of the given size in pixels.
std::unique_ptr<ImageCanvas> createImageCanvas(int width, int height);

}  // namespace platform
