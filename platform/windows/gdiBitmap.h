// Pictures from the library's BITMAP resources, as GDI bitmaps.
#pragma once

#include <windows.h>

#include "../resourceBitmap.h"

namespace platform::windows {

class GdiBitmap final : public NativeBitmap {
public:
    // Takes ownership of `bitmap`; `bits` are its pixels when it is a 24-bit
    // top-down DIB section that writeRows fills, else null.
    GdiBitmap(HBITMAP bitmap, int width, int height, unsigned char* bits = nullptr);
    ~GdiBitmap() override;
    GdiBitmap(const GdiBitmap&) = delete;
    GdiBitmap& operator=(const GdiBitmap&) = delete;

    int width() const override { return w; }
    int height() const override { return h; }
    void writeRows(int first, int count, const unsigned char* rgb) override;
    HBITMAP handle() const { return bitmap; }

    // A one-bit mask of the whole picture, white where a pixel has the colour
    // `key`, black elsewhere; made from `source` (a memory device holding this
    // bitmap) on first use and kept for the same key.
    HBITMAP mask(HDC source, COLORREF key) const;

    // Bitmaps alive in the process, for leak checks.
    static int live();

private:
    HBITMAP bitmap;
    int w;
    int h;
    unsigned char* bits;
    mutable HBITMAP maskBitmap = nullptr;
    mutable COLORREF maskKey = 0;
};

}  // namespace platform::windows
