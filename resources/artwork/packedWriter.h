#pragma once

#include <cairo.h>
#include <string>

namespace artwork {

// Writes the surface, a strip of `frames` pictures one above the other, as a 24-bit BMP
// packed as resources/packedBitmap.h describes, rows taken against the frame before when
// that packs smaller.
bool writePackedBmp(cairo_surface_t* surface, int frames, const std::string& path);

} // namespace artwork
