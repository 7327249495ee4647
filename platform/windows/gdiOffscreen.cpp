// Memory drawing surfaces: a memory device with a bitmap that matches the
// window's pixel format.
#include <windows.h>

#include <algorithm>

#include "../offscreen.h"
#include "../window.h"
#include "gdiDevice.h"

namespace platform {

namespace {

class GdiOffscreen final : public OffscreenSurface {
public:
    GdiOffscreen(int width, int height, Colour background, HWND compatibleWith)
        : w(std::max(width, 0)), h(std::max(height, 0)) {
        // A bitmap compatible with a memory device would be monochrome: the
        // window's (or the screen's) device gives the format.
        HDC reference = GetDC(compatibleWith);
        memory = CreateCompatibleDC(reference);
        bitmap = CreateCompatibleBitmap(reference, std::max(w, 1), std::max(h, 1));
        ReleaseDC(compatibleWith, reference);
        if (memory && bitmap) original = SelectObject(memory, bitmap);
        drawer = std::make_unique<windows::GdiDevice>(original ? memory : nullptr);
        drawer->setBrush(background);
        drawer->fillRect(Rect{0, 0, w, h});
    }

    ~GdiOffscreen() override {
        drawer.reset();
        if (original) SelectObject(memory, original);
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
    }

    GdiOffscreen(const GdiOffscreen&) = delete;
    GdiOffscreen& operator=(const GdiOffscreen&) = delete;

    DrawDevice& device() override { return *drawer; }
    int width() const override { return w; }
    int height() const override { return h; }

private:
    int w;
    int h;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ original = nullptr;
    std::unique_ptr<windows::GdiDevice> drawer;
};

}  // namespace

std::unique_ptr<OffscreenSurface> createOffscreenSurface(int width, int height, Colour background,
                                                         Window* compatibleWith) {
    HWND window = compatibleWith ? static_cast<HWND>(compatibleWith->nativeHandle()) : nullptr;
    return std::make_unique<GdiOffscreen>(width, height, background, window);
}

}  // namespace platform
