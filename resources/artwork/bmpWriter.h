#pragma once

#include <cairo.h>
#include <string>
#include <vector>

namespace artwork {

// Writes an opaque cairo image surface as an uncompressed 24-bit bottom-up Windows BMP.
// Returns false (and leaves errno-style details to the caller) when the file cannot be written.
bool writeBmp24(cairo_surface_t* surface, const std::string& path);

// The same file's bytes; empty for a surface that has no pixels.
std::vector<unsigned char> bmp24Bytes(cairo_surface_t* surface);
// Writes the bytes as they are; false when they are empty or cannot be written.
bool writeFile(const std::vector<unsigned char>& bytes, const std::string& path);

} // namespace artwork
