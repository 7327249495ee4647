// Pictures on Linux come from the BMP files compiled into the shared object.
#include "../cairo/cairoBitmap.h"
#include "../resourceBitmap.h"
#include "../scaledBitmap.h"
#include "pictureCache.h"
#include "scaledArtwork.h"

namespace platform {

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id) {
    resources::PixelRows pixels;
    if (!resources::embeddedPixels(id, pixels)) return nullptr;
    // Converted from where the file lies in the program, without a copy between.
    return std::make_unique<cairo_draw::CairoBitmap>(pixels);
}

std::unique_ptr<ScaledBitmap> loadResourceBitmap(int id, double scale) {
    auto picture = resources::sharedPicture(id, scale, &resources::embeddedArtworkToScale);
    if (!picture) return nullptr;
    auto blank =
        std::make_unique<cairo_draw::CairoBitmap>(picture->width(), picture->height(), nullptr);
    return std::make_unique<ScaledBitmap>(std::move(picture), std::move(blank));
}

}  // namespace platform
