// Pictures on Linux come from the BMP files compiled into the shared object.
#include "../cairo/cairoBitmap.h"
#include "../resourceBitmap.h"
#include "../scaledBitmap.h"
#include "bmpImage.h"
#include "embeddedResources.h"
#include "pictureCache.h"
#include "scaledArtwork.h"

namespace platform {

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id) {
    const resources::EmbeddedBitmap* embedded = resources::findEmbeddedBitmap(id);
    if (!embedded) return nullptr;
    resources::BmpImage image;
    if (!resources::decodeBmp24(embedded->data, embedded->size, image) || image.width <= 0 ||
        image.height <= 0)
        return nullptr;
    return std::make_unique<cairo_draw::CairoBitmap>(image.width, image.height, image.rgb.data());
}

std::unique_ptr<ScaledBitmap> loadResourceBitmap(int id, double scale) {
    auto picture = resources::sharedPicture(id, scale, &resources::embeddedArtworkToScale);
    if (!picture) return nullptr;
    auto blank =
        std::make_unique<cairo_draw::CairoBitmap>(picture->width(), picture->height(), nullptr);
    return std::make_unique<ScaledBitmap>(std::move(picture), std::move(blank));
}

}  // namespace platform
