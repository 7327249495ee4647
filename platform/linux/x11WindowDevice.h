// Drawing into the editor's X11 window for as long as one paint, press or
// idle run lasts: cairo draws into the window's client-side picture, and what
// was touched is sent to the server when the device goes.
#pragma once

#include "../cairo/cairoDevice.h"

namespace platform::linux_backend {

class X11Window;

class X11WindowDevice final : public cairo_draw::CairoDevice {
public:
    explicit X11WindowDevice(X11Window& window);
    // Sends the touched area to the window.
    ~X11WindowDevice() override;
    X11WindowDevice(const X11WindowDevice&) = delete;
    X11WindowDevice& operator=(const X11WindowDevice&) = delete;

    // An area to send even if nothing was drawn there (a paint request's).
    void touch(const Rect& r);

    void setPen(Colour colour, int width, LineStyle style) override;
    void lineTo(Point to) override;
    void fillRect(const Rect& r) override;
    void frameRect(const Rect& r) override;
    void drawText(const char* text, const Rect& r, TextAlign align, bool opaque) override;
    void drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) override;
    void drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                               Colour key) override;
    void drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                         std::uint8_t alpha) override;
    void copyFrom(DrawDevice& from, const Rect& dest, Point source) override;

private:
    X11Window& window;
    Rect touched;
    int lineWidth = 1;
};

}  // namespace platform::linux_backend
