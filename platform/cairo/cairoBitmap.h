// A picture held as a cairo image surface, with the colour-keyed copy the
// transparent drawing needs made once and kept.
#pragma once

#include <cairo.h>

#include "../resourceBitmap.h"
#include "../types.h"
#include "resources/bmpImage.h"

namespace platform::cairo_draw {

class CairoBitmap final : public NativeBitmap {
public:
    // `rgb` holds width * height pixels of three bytes, top row first; null
    // leaves the picture blank, to be filled by writeRows.
    CairoBitmap(int width, int height, const unsigned char* rgb);
    // The pixels where they lie, a BMP file's for one.
    explicit CairoBitmap(const resources::PixelRows& pixels);
    ~CairoBitmap() override;
    CairoBitmap(const CairoBitmap&) = delete;
    CairoBitmap& operator=(const CairoBitmap&) = delete;

    int width() const override { return w; }
    int height() const override { return h; }
    void writeRows(int first, int count, const unsigned char* rgb) override;
    cairo_surface_t* surface() const { return image; }
    // The picture with the pixels of colour `key` made fully transparent.
    cairo_surface_t* keyedSurface(Colour key) const;

    static int live();

private:
    // Rows first .. first + count - 1 from `pixels`' rows 0 .. count - 1.
    void convertRows(int first, int count, const resources::PixelRows& pixels);
    // Rows of the keyed copy from the picture's.
    void keyRows(int first, int count) const;

    int w;
    int h;
    cairo_surface_t* image;
    mutable cairo_surface_t* keyed = nullptr;
    mutable Colour keyedColour;
};

}  // namespace platform::cairo_draw
