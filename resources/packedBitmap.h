// The large artwork is carried zlib-packed: film strips repeat the panel around
// every frame, so each row is stored as its difference from the same row of the
// frame before, which zlib then packs to a small part of its size.
//
// Layout: "KvBz", the row period (u32, little-endian; 0 = rows stored as they
// are), the unpacked size (u32), then a zlib stream of the 24-bit BMP file whose
// pixel rows from the period on hold (row - row `period` earlier) byte by byte.
#pragma once

#include <cstdint>
#include <vector>

namespace resources {

constexpr unsigned kPackedHeaderSize = 12;
// A BMP of the editor's size at 3x is under 4 MB; anything claiming far more is damaged.
constexpr std::uint32_t kLargestUnpacked = 64u * 1024u * 1024u;

// Undoes (or, with `encode`, applies) the row differences on a BMP file's bytes;
// false when the file's header does not describe its pixel rows.
bool differenceRows(std::vector<unsigned char>& bmp, std::uint32_t period, bool encode);

// The BMP file inside a packed picture; false (and `bmp` untouched) for anything
// that is not one, is damaged, or unpacks to another size than it says.
bool unpackBitmap(const unsigned char* data, unsigned long size, std::vector<unsigned char>& bmp);

} // namespace resources
