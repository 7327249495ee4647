#include "headlessBitmaps.h"

#include <map>

#include "../resourceBitmap.h"
#include "cairoBitmap.h"
#include "embeddedArtwork.h"

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
int liveNativeBitmaps() { return CairoBitmap::live(); }

}  // namespace headless

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id) {
    const auto& images = headless::registry();
    auto found = images.find(id);
    if (found != images.end())
        return std::make_unique<headless::CairoBitmap>(found->second.width, found->second.height,
                                                       found->second.rgb.data());
    headless::RgbImage image;
    if (headless::provider && headless::provider(id, image) && image.width > 0 &&
        image.height > 0 &&
        image.rgb.size() >= static_cast<std::size_t>(image.width) * image.height * 3)
        return std::make_unique<headless::CairoBitmap>(image.width, image.height,
                                                       image.rgb.data());
    return nullptr;
}

}  // namespace platform
