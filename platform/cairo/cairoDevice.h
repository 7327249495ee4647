// A DrawDevice on a cairo surface: an image (real pixels that a test can read
// back or save as PNG) or a window's surface. Thin lines are set pixel by pixel
// as GDI sets them, so line end points are exact on either.
#pragma once

#include <cstdint>
#include <string>

#include "../drawDevice.h"

// Declared as cairo declares them, so that tests can use this header without
// seeing cairo itself.
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace platform::cairo_draw {

class CairoDevice : public DrawDevice {
public:
    // What was done to a surface, counted for tests that check how a picture
    // reached the window.
    struct Stats {
        int copies = 0;    // copyFrom calls
        int drawings = 0;  // every other drawing call
    };

    // Draws on `surface` (RGB24 or ARGB32 image), taking its own reference.
    explicit CairoDevice(cairo_surface_t* surface, Stats* stats = nullptr);
    // Draws on a surface of any kind whose size cairo cannot tell (a window's).
    CairoDevice(cairo_surface_t* surface, int width, int height, Stats* stats = nullptr);
    ~CairoDevice() override;
    CairoDevice(const CairoDevice&) = delete;
    CairoDevice& operator=(const CairoDevice&) = delete;

    void setPen(Colour colour, int width, LineStyle style) override;
    void setBrush(Colour colour) override { brush = colour; }
    void setFont(const FontSpec& f) override;
    void setTextColour(Colour colour) override { textColour = colour; }
    void setTextBackground(Colour colour) override { textBackground = colour; }
    void moveTo(Point to) override { current = to; }
    void lineTo(Point to) override;
    void fillRect(const Rect& r) override;
    void frameRect(const Rect& r) override;
    void drawText(const char* text, const Rect& r, TextAlign align, bool opaque) override;
    void setClip(const Rect& r) override;
    void resetClip() override;
    void drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) override;
    void drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                               Colour key) override;
    void drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                         std::uint8_t alpha) override;
    void copyFrom(DrawDevice& from, const Rect& dest, Point source) override;

    cairo_surface_t* surface() const { return target; }
    int width() const;
    int height() const;
    // The pixel at x, y as 0xRRGGBB (0 outside the surface or on a window).
    std::uint32_t pixel(int x, int y) const;
    bool savePng(const std::string& path) const;
    Point currentPosition() const { return current; }

    static int live();

private:
    void counted() const;
    void paintSurface(cairo_surface_t* source, const Rect& dest, Point sourceOrigin, double alpha);
    bool visible(int x, int y) const;
    void thinLine(Point from, Point to);

    cairo_surface_t* target;
    cairo_t* cr;
    int w;
    int h;
    Stats* stats;
    Colour pen{255, 255, 255, 255};
    int penWidth = 1;
    LineStyle penStyle = LineStyle::solid;
    Colour brush{0, 0, 0, 255};
    Colour textColour{255, 255, 255, 255};
    Colour textBackground{255, 255, 255, 255};
    FontSpec font;
    std::string fontFace;
    Point current;
    bool clipped = false;
    Rect clip;
};

// A new image surface of the given size holding what `old` held where it
// fits, the rest filled with `fill`; `old` is left to the caller.
cairo_surface_t* resizedSurface(cairo_surface_t* old, int width, int height, Colour fill);

// Helpers for tests: pixels of any cairo image surface.
std::uint32_t surfacePixel(cairo_surface_t* surface, int x, int y);
bool saveSurfacePng(cairo_surface_t* surface, const std::string& path);
// The same, every pixel drawn as a factor x factor square, for looking closely.
bool saveSurfacePngScaled(cairo_surface_t* surface, const std::string& path, int factor);

}  // namespace platform::cairo_draw
