// Offscreen surfaces on Linux are cairo images in the client: drawn in
// private, then sent to the window in one copy.
#include <cairo.h>

#include <algorithm>

#include "../cairo/cairoDevice.h"
#include "../cairo/cairoText.h"
#include "../offscreen.h"

namespace platform {

namespace {

class ImageSurface final : public OffscreenSurface {
public:
    ImageSurface(int width, int height, Colour background)
        : image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 0),
                                           std::max(height, 0))),
          drawer(image) {
        drawer.setBrush(background);
        drawer.fillRect(Rect{0, 0, width, height});
    }
    ~ImageSurface() override { cairo_surface_destroy(image); }
    ImageSurface(const ImageSurface&) = delete;
    ImageSurface& operator=(const ImageSurface&) = delete;

    DrawDevice& device() override { return drawer; }
    int width() const override { return cairo_image_surface_get_width(image); }
    int height() const override { return cairo_image_surface_get_height(image); }

private:
    cairo_surface_t* image;
    cairo_draw::CairoDevice drawer;
};

}  // namespace

std::unique_ptr<OffscreenSurface> createOffscreenSurface(int width, int height, Colour background,
                                                         Window*) {
    // The font caches belong to the host's process; see cairoText.h.
    cairo_text::leaveFontCachesAtExit();
    return std::make_unique<ImageSurface>(width, height, background);
}

}  // namespace platform
