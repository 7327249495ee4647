#include "gdiBitmap.h"

#include <memory>

#include "module.h"

namespace platform {

namespace windows {

namespace {
int liveBitmaps = 0;
}

GdiBitmap::GdiBitmap(HBITMAP bitmap, int width, int height) : bitmap(bitmap), w(width), h(height) {
    ++liveBitmaps;
}

GdiBitmap::~GdiBitmap() {
    if (maskBitmap) DeleteObject(maskBitmap);
    DeleteObject(bitmap);
    --liveBitmaps;
}

int GdiBitmap::live() { return liveBitmaps; }

HBITMAP GdiBitmap::mask(HDC source, COLORREF key) const {
    if (maskBitmap && maskKey == key) return maskBitmap;
    if (maskBitmap) DeleteObject(maskBitmap);
    maskBitmap = CreateBitmap(w, h, 1, 1, nullptr);
    maskKey = key;
    if (!maskBitmap) return nullptr;
    HDC maskDc = CreateCompatibleDC(source);
    if (!maskDc) return maskBitmap;
    HGDIOBJ old = SelectObject(maskDc, maskBitmap);
    // A colour-to-monochrome copy turns the source's background colour white
    // and every other colour black.
    const COLORREF oldBackground = SetBkColor(source, key);
    BitBlt(maskDc, 0, 0, w, h, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBackground);
    SelectObject(maskDc, old);
    DeleteDC(maskDc);
    return maskBitmap;
}

}  // namespace windows

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id) {
    if (id <= 0 || id > 0xFFFF) return nullptr;  // not a resource number
    HBITMAP bitmap = LoadBitmapA(windows::moduleHandle(), MAKEINTRESOURCEA(id));
    if (!bitmap) return nullptr;
    BITMAP info;
    if (GetObjectA(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return std::make_unique<windows::GdiBitmap>(bitmap, info.bmWidth, info.bmHeight);
}

}  // namespace platform
