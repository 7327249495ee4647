// Small helpers around cairo shared by all the drawing routines: an opaque image that can be
// cropped and pasted, colours, text with letter spacing, and a repeatable random generator.
#pragma once

#include "layout.h"

#include <cairo.h>
#include <cstdint>
#include <string>

namespace artwork {

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Colour mix(Colour a, Colour b, double t);

// The house palette, so that panel, knobs, meter and about screen agree.
namespace palette {
constexpr Colour kPanel = rgb(47, 46, 45);
constexpr Colour kPanelDark = rgb(31, 30, 30);
constexpr Colour kInk = rgb(228, 218, 196);      // cream silk-screen
constexpr Colour kInkDim = rgb(168, 160, 144);
constexpr Colour kBrass = rgb(196, 158, 92);
constexpr Colour kBrassLight = rgb(236, 204, 140);
constexpr Colour kBrassDark = rgb(112, 84, 44);
constexpr Colour kEngraveDark = rgb(14, 14, 14);
constexpr Colour kEngraveLight = rgb(92, 90, 86);
constexpr Colour kLamp = rgb(255, 178, 82);       // lit state of small buttons
} // namespace palette

// The whole set is drawn at one pixel scale, 1 or 2: every image then has
// scale times its layout size in pixels, and drawing on it is scaled with it.
void setPixelScale(int scale);
int pixelScale();

// An opaque RGB image backed by a cairo surface. Its width and height are in
// layout pixels; pixel() and setPixel() address the surface's own pixels.
class Image {
public:
    Image(int width, int height);
    ~Image();
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    int pixelWidth() const { return width_ * scale_; }
    int pixelHeight() const { return height_ * scale_; }
    cairo_surface_t* surface() const { return surface_; }

    Image crop(const Rect& r) const;
    void paste(const Image& source, int x, int y);
    std::uint32_t pixel(int x, int y) const;
    void setPixel(int x, int y, std::uint32_t value);

private:
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
};

// A cairo context on an image, destroyed with the scope.
class Pen {
public:
    explicit Pen(Image& image);
    ~Pen();
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    operator cairo_t*() const { return cr_; }

private:
    cairo_t* cr_;
};

void setColour(cairo_t* cr, Colour c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void circle(cairo_t* cr, double x, double y, double radius);

enum class Align { Left, Centre, Right };
struct Font {
    const char* family = "Liberation Sans";
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    double spacing = 0.0; // extra pixels between letters
};

double textWidth(cairo_t* cr, const std::string& text, const Font& font);
// Draws text with its baseline at y; x is the left edge, centre or right edge per align.
void drawText(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Align align,
              Colour colour, double alpha = 1.0);
// Draws text centred on (x, y) using the height of capital letters, for scale numbers.
void drawTextCentred(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Colour colour);
// Silk-screen print with a faint dark halo, so small legends stay crisp on brushed metal.
void printLegend(cairo_t* cr, const std::string& text, double x, double y, const Font& font, Align align,
                 Colour colour);

// A line cut into the metal: a dark groove with a light lower lip.
void engravedLine(cairo_t* cr, double x0, double y0, double x1, double y1);

// A screw head with a cross slot turned by the given angle in degrees.
void drawScrew(cairo_t* cr, double x, double y, double radius, double slotDeg);

// Repeatable xorshift generator, so every run writes the same bytes.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint64_t next();
    double uniform(); // [0, 1)
    double signedUniform() { return uniform() * 2.0 - 1.0; }

private:
    std::uint64_t state_;
};

// Fills the image with brushed metal: fine horizontal grain over a soft vertical light fall-off.
void brushedMetal(Image& image, Colour base, double grain, std::uint64_t seed);

// Unit direction of a knob pointer for an angle measured clockwise from 12 o'clock.
double pointerDx(double degrees);
double pointerDy(double degrees);

} // namespace artwork
