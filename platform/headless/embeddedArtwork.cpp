#include "embeddedArtwork.h"

#include "resources/bmpImage.h"
#include "resources/embeddedResources.h"

namespace platform::headless {

bool embeddedArtwork(int id, RgbImage& out) {
    const resources::EmbeddedBitmap* entry = resources::findEmbeddedBitmap(id);
    if (!entry) return false;
    resources::BmpImage image;
    if (!resources::decodeBmp24(entry->data, entry->size, image)) return false;
    out.width = image.width;
    out.height = image.height;
    out.rgb = std::move(image.rgb);
    return true;
}

}  // namespace platform::headless
