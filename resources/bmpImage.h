#pragma once

#include <vector>

namespace resources {

struct BmpImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top-down rows, 3 bytes per pixel R,G,B
};

// Decodes an uncompressed 24-bit Windows BMP (bottom-up or top-down rows). Every header
// field is checked against the buffer; anything malformed or unsupported returns false
// and leaves out untouched.
bool decodeBmp24(const unsigned char* data, unsigned long size, BmpImage& out);

} // namespace resources
