#include "scaledArtwork.h"

#include "embeddedResources.h"
#include "packedBitmap.h"
#include "resample.h"

namespace resources {

bool embeddedPicture(int id, double scale, BmpImage& out)
{
    BmpImage oneX;
    BmpImage twoX;
    bool haveOne = false;
    bool haveTwo = false;
    // The 1x picture is decoded only where it is what is drawn or what gives the size.
    if (scale != 2.0) {
        const EmbeddedBitmap* small = findEmbeddedBitmap(id);
        haveOne = small && decodeBmp24(small->data, small->size, oneX);
    }
    if (scale != 1.0) {
        std::vector<unsigned char> bmp;
        const EmbeddedBitmap* large = findEmbeddedLargeBitmap(id);
        haveTwo = large && unpackBitmap(large->data, large->size, bmp)
                  && decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), twoX);
    }
    BmpImage picture = pictureForScale(haveOne ? &oneX : nullptr, haveTwo ? &twoX : nullptr, scale);
    if (picture.width <= 0 || picture.height <= 0)
        return false;
    out = std::move(picture);
    return true;
}

} // namespace resources
