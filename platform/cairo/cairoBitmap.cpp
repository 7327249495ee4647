#include "cairoBitmap.h"

#include <cstdint>

namespace platform::cairo_draw {

namespace {
int liveBitmaps = 0;
}

CairoBitmap::CairoBitmap(int width, int height, const unsigned char* rgb) : w(width), h(height) {
    image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; data && rgb && y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        const unsigned char* src = rgb + static_cast<long>(y) * w * 3;
        for (int x = 0; x < w; ++x, src += 3)
            row[x] = 0xFF000000u | (std::uint32_t(src[0]) << 16) | (std::uint32_t(src[1]) << 8) |
                     src[2];
    }
    cairo_surface_mark_dirty(image);
    ++liveBitmaps;
}

CairoBitmap::~CairoBitmap() {
    if (keyed) cairo_surface_destroy(keyed);
    cairo_surface_destroy(image);
    --liveBitmaps;
}

int CairoBitmap::live() { return liveBitmaps; }

cairo_surface_t* CairoBitmap::keyedSurface(Colour key) const {
    if (keyed && keyedColour.red == key.red && keyedColour.green == key.green &&
        keyedColour.blue == key.blue)
        return keyed;
    if (keyed) cairo_surface_destroy(keyed);
    keyedColour = key;
    keyed = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(image);
    cairo_surface_flush(keyed);
    const unsigned char* src = cairo_image_surface_get_data(image);
    unsigned char* dst = cairo_image_surface_get_data(keyed);
    const int srcStride = cairo_image_surface_get_stride(image);
    const int dstStride = cairo_image_surface_get_stride(keyed);
    const std::uint32_t keyRgb =
        (std::uint32_t(key.red) << 16) | (std::uint32_t(key.green) << 8) | key.blue;
    for (int y = 0; src && dst && y < h; ++y) {
        auto* in = reinterpret_cast<const std::uint32_t*>(src + y * srcStride);
        auto* out = reinterpret_cast<std::uint32_t*>(dst + y * dstStride);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgbValue = in[x] & 0xFFFFFFu;
            // Premultiplied: a fully transparent pixel is all zero.
            out[x] = rgbValue == keyRgb ? 0u : (0xFF000000u | rgbValue);
        }
    }
    cairo_surface_mark_dirty(keyed);
    return keyed;
}

}  // namespace platform::cairo_draw
