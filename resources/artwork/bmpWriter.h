#pragma once

#include <cairo.h>
#include <string>

namespace artwork {

// Writes an opaque cairo image surface as an uncompressed 24-bit bottom-up Windows BMP.
// Returns false (and leaves errno-style details to the caller) when the file cannot be written.
bool writeBmp24(cairo_surface_t* surface, const std::string& path);

} // namespace artwork
