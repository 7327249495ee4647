#include "headlessBitmaps.h"

#include <map>

#include "../resourceBitmap.h"
#include "../cairo/cairoBitmap.h"
#include "../scaledBitmap.h"
#include "embeddedArtwork.h"
#include "resources/pictureCache.h"
#include "resources/scaledArtwork.h"

namespace platform {

namespace headless {

namespace {

std::map<int, RgbImage>& registry() {
    static std::map<int, RgbImage> images;
    return images;
}

BitmapProvider provider = &embeddedArtwork;

}  // namespace

void registerBitmap(int id, int width, int height, const unsigned char* rgb) {
    if (width < 0 || height < 0) return;
    RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.assign(rgb, rgb + static_cast<long>(width) * height * 3);
    registry()[id] = std::move(image);
}

void registerSolidBitmap(int id, int width, int height, unsigned char red, unsigned char green,
                         unsigned char blue) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        rgb[i] = red;
        rgb[i + 1] = green;
        rgb[i + 2] = blue;
    }
    registerBitmap(id, width, height, rgb.data());
}

void unregisterBitmap(int id) { registry().erase(id); }
void clearRegisteredBitmaps() { registry().clear(); }
void setBitmapProvider(BitmapProvider p) { provider = p; }
BitmapProvider bitmapProvider() { return provider; }
int liveNativeBitmaps() { return cairo_draw::CairoBitmap::live(); }

}  // namespace headless

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id) {
    const auto& images = headless::registry();
    auto found = images.find(id);
    if (found != images.end())
        return std::make_unique<cairo_draw::CairoBitmap>(found->second.width, found->second.height,
                                                       found->second.rgb.data());
    // The plug-in's own artwork, converted from where it lies as on Linux.
    if (headless::provider == &headless::embeddedArtwork) {
        resources::PixelRows pixels;
        if (!resources::embeddedPixels(id, pixels)) return nullptr;
        return std::make_unique<cairo_draw::CairoBitmap>(pixels);
    }
    headless::RgbImage image;
    if (headless::provider && headless::provider(id, image) && image.width > 0 &&
        image.height > 0 &&
        image.rgb.size() >= static_cast<std::size_t>(image.width) * image.height * 3)
        return std::make_unique<cairo_draw::CairoBitmap>(image.width, image.height,
                                                       image.rgb.data());
    return nullptr;
}

std::unique_ptr<ScaledBitmap> loadResourceBitmap(int id, double scale) {
    if (!(scale > 0.0)) return nullptr;
    std::shared_ptr<resources::ScaledPicture> picture;
    const auto& images = headless::registry();
    auto found = images.find(id);
    // A registered picture, or another provider's, has no 2x set: it is
    // enlarged. It may change under its number, so it is made afresh and not
    // kept for the process as the plug-in's own artwork is.
    if (found != images.end() || headless::provider != &headless::embeddedArtwork) {
        headless::RgbImage image;
        if (found != images.end())
            image = found->second;
        else if (!headless::provider || !headless::provider(id, image))
            return nullptr;
        if (image.width <= 0 || image.height <= 0 ||
            image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3)
            return nullptr;
        auto artwork = std::make_shared<resources::Artwork>();
        artwork->bytes = std::move(image.rgb);
        artwork->pixels = {image.width, image.height, artwork->bytes.data(),
                           static_cast<std::ptrdiff_t>(image.width) * 3, false};
        artwork->drawnAt = 1.0;
        picture = std::make_shared<resources::ScaledPicture>(std::move(artwork), scale);
    } else {
        picture = resources::sharedPicture(id, scale, &resources::embeddedArtworkToScale);
    }
    if (!picture) return nullptr;
    auto blank =
        std::make_unique<cairo_draw::CairoBitmap>(picture->width(), picture->height(), nullptr);
    return std::make_unique<ScaledBitmap>(std::move(picture), std::move(blank));
}

}  // namespace platform
