#include "cairoBitmap.h"

#include <algorithm>
#include <cstdint>

namespace platform::cairo_draw {

namespace {

int liveBitmaps = 0;

std::uint32_t* rowOf(cairo_surface_t* surface, int y) {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            y * cairo_image_surface_get_stride(surface));
}

}  // namespace

CairoBitmap::CairoBitmap(int width, int height, const unsigned char* rgb) : w(width), h(height) {
    image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    if (rgb) writeRows(0, h, rgb);
    ++liveBitmaps;
}

CairoBitmap::CairoBitmap(const resources::PixelRows& pixels) : CairoBitmap(pixels.width, pixels.height, nullptr) {
    if (pixels.top) convertRows(0, h, pixels);
}

CairoBitmap::~CairoBitmap() {
    if (keyed) cairo_surface_destroy(keyed);
    cairo_surface_destroy(image);
    --liveBitmaps;
}

int CairoBitmap::live() { return liveBitmaps; }

void CairoBitmap::writeRows(int first, int count, const unsigned char* rgb) {
    first = std::clamp(first, 0, h);
    count = std::clamp(count, 0, h - first);
    if (!rgb || count == 0) return;
    convertRows(first, count, resources::PixelRows{w, count, rgb, std::ptrdiff_t(w) * 3, false});
}

void CairoBitmap::convertRows(int first, int count, const resources::PixelRows& pixels) {
    if (!cairo_image_surface_get_data(image)) return;
    cairo_surface_flush(image);
    const int red = pixels.bgr ? 2 : 0;
    const int blue = 2 - red;
    for (int y = 0; y < count; ++y) {
        std::uint32_t* row = rowOf(image, first + y);
        const unsigned char* src = pixels.row(y);
        for (int x = 0; x < w; ++x, src += 3)
            row[x] = 0xFF000000u | (std::uint32_t(src[red]) << 16) |
                     (std::uint32_t(src[1]) << 8) | src[blue];
    }
    cairo_surface_mark_dirty_rectangle(image, 0, first, w, count);
    // A keyed copy made before these rows were there takes them too.
    if (keyed) keyRows(first, count);
}

void CairoBitmap::keyRows(int first, int count) const {
    cairo_surface_flush(keyed);
    const std::uint32_t keyRgb = (std::uint32_t(keyedColour.red) << 16) |
                                 (std::uint32_t(keyedColour.green) << 8) | keyedColour.blue;
    for (int y = first; y < first + count; ++y) {
        const std::uint32_t* in = rowOf(image, y);
        std::uint32_t* out = rowOf(keyed, y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgbValue = in[x] & 0xFFFFFFu;
            // Premultiplied: a fully transparent pixel is all zero.
            out[x] = rgbValue == keyRgb ? 0u : (0xFF000000u | rgbValue);
        }
    }
    cairo_surface_mark_dirty_rectangle(keyed, 0, first, w, count);
}

cairo_surface_t* CairoBitmap::keyedSurface(Colour key) const {
    if (keyed && keyedColour.red == key.red && keyedColour.green == key.green &&
        keyedColour.blue == key.blue)
        return keyed;
    if (keyed) cairo_surface_destroy(keyed);
    keyedColour = key;
    keyed = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(image);
    if (cairo_image_surface_get_data(image) && cairo_image_surface_get_data(keyed)) keyRows(0, h);
    return keyed;
}

}  // namespace platform::cairo_draw
