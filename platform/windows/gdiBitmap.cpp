#include "gdiBitmap.h"

#include <algorithm>
#include <memory>

#include "module.h"

namespace platform {

namespace windows {

namespace {
int liveBitmaps = 0;
}

GdiBitmap::GdiBitmap(HBITMAP bitmap, int width, int height, unsigned char* bits)
    : bitmap(bitmap), w(width), h(height), bits(bits) {
    ++liveBitmaps;
}

GdiBitmap::~GdiBitmap() {
    if (maskBitmap) DeleteObject(maskBitmap);
    DeleteObject(bitmap);
    --liveBitmaps;
}

int GdiBitmap::live() { return liveBitmaps; }

void GdiBitmap::writeRows(int first, int count, const unsigned char* rgb) {
    first = std::clamp(first, 0, h);
    count = std::clamp(count, 0, h - first);
    if (!bits || !rgb || count == 0) return;
    // Drawing still queued must not see the rows change under it.
    GdiFlush();
    const int rowBytes = (w * 3 + 3) & ~3;
    for (int y = first; y < first + count; ++y) {
        unsigned char* to = bits + static_cast<std::size_t>(y) * rowBytes;
        const unsigned char* from = rgb + static_cast<std::size_t>(y - first) * w * 3;
        for (int x = 0; x < w; ++x, to += 3, from += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    // A mask made before these rows were there is made again when next needed.
    if (maskBitmap) DeleteObject(maskBitmap);
    maskBitmap = nullptr;
}

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
