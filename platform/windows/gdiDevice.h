// A DrawDevice on a GDI device context: a window's, a paint's or a memory
// device's. Pens, brushes and the font are made as they are set and deleted
// with the device; the context's own objects and state come back at the end.
#pragma once

#include <windows.h>

#include "../drawDevice.h"
#include "gdiFont.h"

namespace platform::windows {

class GdiDevice final : public DrawDevice {
public:
    // Draws on `dc`. With `releaseTo`, the context came from GetDC on that
    // window and is released with the device.
    explicit GdiDevice(HDC dc, HWND releaseTo = nullptr);
    ~GdiDevice() override;
    GdiDevice(const GdiDevice&) = delete;
    GdiDevice& operator=(const GdiDevice&) = delete;

    void setPen(Colour colour, int width, LineStyle style) override;
    void setBrush(Colour colour) override;
    void setFont(const FontSpec& font) override;
    void setTextColour(Colour colour) override { textColour = colour; }
    void setTextBackground(Colour colour) override { textBackground = colour; }
    void moveTo(Point to) override;
    void lineTo(Point to) override;
    void fillRect(const Rect& r) override;
    void frameRect(const Rect& r) override;
    void drawText(const char* text, const Rect& r, TextAlign align, bool opaque) override;
    void setClip(const Rect& r) override;
    void resetClip() override;
    void drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) override;
    void drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                               Colour key) override;
    void drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                         std::uint8_t alpha) override;
    void copyFrom(DrawDevice& from, const Rect& dest, Point source) override;

    HDC dc() const { return hdc; }

private:
    // A memory device holding a picture for the length of one copy; dc is null
    // if none can be made.
    struct Source {
        Source(GdiDevice& device, HBITMAP bitmap);
        ~Source();
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;
        GdiDevice& device;
        HDC dc = nullptr;
    };
    void replace(HGDIOBJ& slot, HGDIOBJ made);

    HDC hdc;
    HWND releaseTo;
    int savedState;
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    // FrameRect outlines with a brush: one in the pen's colour.
    HBRUSH outlineBrush = nullptr;
    Colour penColour{255, 255, 255, 255};
    bool outlineBrushValid = false;
    FontKey fontKey;
    Colour textColour{255, 255, 255, 255};
    Colour textBackground{255, 255, 255, 255};
    HDC sourceDc = nullptr;
    HGDIOBJ sourceDefault = nullptr;
};

inline COLORREF toColorRef(Colour c) { return RGB(c.red, c.green, c.blue); }

}  // namespace platform::windows
