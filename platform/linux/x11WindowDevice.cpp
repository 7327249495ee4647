#include "x11WindowDevice.h"

#include <algorithm>

#include "x11Window.h"

namespace platform::linux_backend {

X11WindowDevice::X11WindowDevice(X11Window& window)
    : CairoDevice(window.picture()), window(window) {}

X11WindowDevice::~X11WindowDevice() { window.present(touched); }

void X11WindowDevice::touch(const Rect& r) {
    const Rect area{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width()),
                    std::min(r.bottom, height())};
    if (area.empty()) return;
    if (touched.empty()) {
        touched = area;
        return;
    }
    touched = Rect{std::min(touched.left, area.left), std::min(touched.top, area.top),
                   std::max(touched.right, area.right), std::max(touched.bottom, area.bottom)};
}

void X11WindowDevice::setPen(Colour colour, int width, LineStyle style) {
    lineWidth = std::max(width, 1);
    CairoDevice::setPen(colour, width, style);
}

void X11WindowDevice::lineTo(Point to) {
    const Point from = currentPosition();
    const int reach = lineWidth;  // round caps of wide pens reach past the ends
    touch(Rect{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
               std::max(from.x, to.x) + reach + 1, std::max(from.y, to.y) + reach + 1});
    CairoDevice::lineTo(to);
}

void X11WindowDevice::fillRect(const Rect& r) {
    touch(r);
    CairoDevice::fillRect(r);
}

void X11WindowDevice::frameRect(const Rect& r) {
    touch(r);
    CairoDevice::frameRect(r);
}

void X11WindowDevice::drawText(const char* text, const Rect& r, TextAlign align, bool opaque) {
    touch(r);
    CairoDevice::drawText(text, r, align, opaque);
}

void X11WindowDevice::drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) {
    touch(dest);
    CairoDevice::drawBitmap(bitmap, dest, source);
}

void X11WindowDevice::drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest,
                                            Point source, Colour key) {
    touch(dest);
    CairoDevice::drawBitmapTransparent(bitmap, dest, source, key);
}

void X11WindowDevice::drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                      std::uint8_t alpha) {
    touch(dest);
    CairoDevice::drawBitmapAlpha(bitmap, dest, source, alpha);
}

void X11WindowDevice::copyFrom(DrawDevice& from, const Rect& dest, Point source) {
    touch(dest);
    CairoDevice::copyFrom(from, dest, source);
}

}  // namespace platform::linux_backend
