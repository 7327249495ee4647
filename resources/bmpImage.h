#pragma once

#include <cstddef>
#include <vector>

namespace resources {

struct BmpImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top-down rows, 3 bytes per pixel R,G,B
};

// Rows of 3-byte pixels where they lie, top row first: in a BMP file they run
// bottom-up in B, G, R order, in a BmpImage top-down in R, G, B.
struct PixelRows {
    int width = 0, height = 0;
    const unsigned char* top = nullptr; // the top row
    std::ptrdiff_t stride = 0;          // bytes from a row to the one below it
    bool bgr = false;
    const unsigned char* row(int y) const { return top + y * stride; }
};

// Decodes an uncompressed 24-bit Windows BMP (bottom-up or top-down rows). Every header
// field is checked against the buffer; anything malformed or unsupported returns false
// and leaves out untouched.
bool decodeBmp24(const unsigned char* data, unsigned long size, BmpImage& out);

// The pixels of such a file where they lie in `data`, checked as decodeBmp24
// checks them; false for anything it refuses.
bool locateBmp24(const unsigned char* data, unsigned long size, PixelRows& out);

// The rows of a decoded picture; none (height 0) when it holds too few bytes.
PixelRows rowsOf(const BmpImage& image);

// Row y of `pixels` as R, G, B into `to` (width * 3 bytes).
void copyRgb(const PixelRows& pixels, int y, unsigned char* to);

} // namespace resources
