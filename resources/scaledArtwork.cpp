#include "scaledArtwork.h"

#include "embeddedResources.h"
#include "packedBitmap.h"

namespace resources {

bool embeddedPixels(int id, PixelRows& out)
{
    const EmbeddedBitmap* small = findEmbeddedBitmap(id);
    return small && locateBmp24(small->data, small->size, out);
}

bool embeddedArtworkToScale(int id, Artwork& out)
{
    const EmbeddedBitmap* large = findEmbeddedLargeBitmap(id);
    if (large && unpackBitmap(large->data, large->size, out.bytes)
        && locateBmp24(out.bytes.data(), static_cast<unsigned long>(out.bytes.size()), out.pixels)) {
        out.drawnAt = 2.0;
        return true;
    }
    // The 1x picture is used where it lies in the program.
    out.bytes.clear();
    if (!embeddedPixels(id, out.pixels))
        return false;
    out.drawnAt = 1.0;
    return true;
}

} // namespace resources
