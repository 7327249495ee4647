#include "scaledArtwork.h"

#include "embeddedResources.h"
#include "packedBitmap.h"
#include "resample.h"

namespace resources {

bool embeddedPicture(int id, double scale, BmpImage& out)
{
    BmpImage twoX;
    if (scale != 1.0) {
        std::vector<unsigned char> bmp;
        const EmbeddedBitmap* large = findEmbeddedLargeBitmap(id);
        if (large && unpackBitmap(large->data, large->size, bmp)
            && decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), twoX)) {
            out = pictureForScale(nullptr, &twoX, scale);
            return out.width > 0;
        }
    }
    // At 1, or without a 2x picture, the 1x one is what there is.
    BmpImage oneX;
    const EmbeddedBitmap* small = findEmbeddedBitmap(id);
    if (!small || !decodeBmp24(small->data, small->size, oneX))
        return false;
    out = pictureForScale(&oneX, nullptr, scale);
    return out.width > 0;
}

} // namespace resources
