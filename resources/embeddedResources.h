#pragma once

namespace resources {

struct EmbeddedBitmap {
    int id;
    const unsigned char* data;
    unsigned long size;
};

// The BMP file bytes of the resource with this number, or nullptr when there is none.
const EmbeddedBitmap* findEmbeddedBitmap(int id);
// The same picture drawn at 2x, packed (packedBitmap.h), or nullptr when there is none.
const EmbeddedBitmap* findEmbeddedLargeBitmap(int id);

} // namespace resources
