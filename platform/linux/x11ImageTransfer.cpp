#include "x11ImageTransfer.h"

#include <X11/Xutil.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "x11Connection.h"

namespace platform::linux_backend {

namespace {

bool nativeLittleEndian() {
    const std::uint32_t probe = 1;
    return *reinterpret_cast<const unsigned char*>(&probe) == 1;
}

bool takesCairoBytes(Visual* visual, int depth) {
    return visual && visual->c_class == TrueColor && depth == 24 &&
           visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
           visual->blue_mask == 0xFF;
}

}  // namespace

void putImage(Display* display, Drawable target, GC gc, Visual* visual, int depth,
              cairo_surface_t* image, const Rect& from, Point to) {
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int w = cairo_image_surface_get_width(image);
    const int h = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const Rect area{std::max(from.left, 0), std::max(from.top, 0), std::min(from.right, w),
                    std::min(from.bottom, h)};
    if (!data || area.empty()) return;
    to.x += area.left - from.left;
    to.y += area.top - from.top;

    if (takesCairoBytes(visual, depth)) {
        XImage* x = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(data), static_cast<unsigned>(w),
                                 static_cast<unsigned>(h), 32, stride);
        if (!x) return;
        // cairo keeps each pixel as one native 32-bit word.
        x->byte_order = nativeLittleEndian() ? LSBFirst : MSBFirst;
        XPutImage(display, target, gc, x, area.left, area.top, to.x, to.y,
                  static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()));
        x->data = nullptr;  // cairo's
        XDestroyImage(x);
        return;
    }
    XImage* x = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                             static_cast<unsigned>(area.width()),
                             static_cast<unsigned>(area.height()), 32, 0);
    if (!x) return;
    x->data = static_cast<char*>(std::malloc(static_cast<std::size_t>(x->bytes_per_line) *
                                             static_cast<std::size_t>(area.height())));
    if (!x->data) {
        XDestroyImage(x);
        return;
    }
    for (int y = 0; y < area.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + (area.top + y) * stride);
        for (int i = 0; i < area.width(); ++i) {
            const std::uint32_t p = row[area.left + i];
            const Colour c{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                           static_cast<std::uint8_t>(p), 255};
            XPutPixel(x, i, y, X11Connection::pixelOf(visual, depth, c));
        }
    }
    XPutImage(display, target, gc, x, 0, 0, to.x, to.y, static_cast<unsigned>(area.width()),
              static_cast<unsigned>(area.height()));
    XDestroyImage(x);  // frees the pixels too
}

}  // namespace platform::linux_backend
