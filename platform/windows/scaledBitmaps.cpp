// Pictures for an editor scale other than 1: the artwork drawn at 2x is a
// resource of type KVBZ under the picture's number, packed
// (resources/packedBitmap.h); other scales are resampled from it. A picture
// without one (a test's own) is enlarged from its BITMAP resource.
#include <memory>

#include "../resourceBitmap.h"
#include "../scaledBitmap.h"
#include "bmpImage.h"
#include "gdiBitmap.h"
#include "module.h"
#include "packedBitmap.h"
#include "pictureCache.h"

namespace platform {

namespace {

bool packedResource(int id, resources::Artwork& out) {
    HMODULE module = windows::moduleHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "KVBZ");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    return resources::unpackBitmap(static_cast<const unsigned char*>(data),
                                   SizeofResource(module, found), out.bytes) &&
           resources::locateBmp24(out.bytes.data(), static_cast<unsigned long>(out.bytes.size()),
                                  out.pixels);
}

// A 24-bit top-down DIB of the given size, rows padded to four bytes.
BITMAPINFO topDownRgb(int width, int height) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

// The BITMAP resource's pixels, read back through a 24-bit top-down DIB.
bool bitmapResource(int id, resources::Artwork& out) {
    HBITMAP bitmap = LoadBitmapA(windows::moduleHandle(), MAKEINTRESOURCEA(id));
    if (!bitmap) return false;
    BITMAP info;
    bool ok = GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmWidth > 0 &&
              info.bmHeight > 0;
    if (ok) {
        BITMAPINFO format = topDownRgb(info.bmWidth, info.bmHeight);
        const int rowBytes = (info.bmWidth * 3 + 3) & ~3;
        out.bytes.assign(static_cast<std::size_t>(rowBytes) * info.bmHeight, 0);
        HDC screen = GetDC(nullptr);
        ok = screen && GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight),
                                 out.bytes.data(), &format, DIB_RGB_COLORS) == info.bmHeight;
        if (screen) ReleaseDC(nullptr, screen);
        if (ok) out.pixels = {info.bmWidth, info.bmHeight, out.bytes.data(), rowBytes, true};
    }
    DeleteObject(bitmap);
    return ok;
}

// The picture other scales are made from (pictureCache.h).
bool artworkToScale(int id, resources::Artwork& out) {
    if (packedResource(id, out)) {
        out.drawnAt = 2.0;
        return true;
    }
    out.bytes.clear();
    if (!bitmapResource(id, out)) return false;
    out.drawnAt = 1.0;
    return true;
}

}  // namespace

std::unique_ptr<ScaledBitmap> loadResourceBitmap(int id, double scale) {
    if (id <= 0 || id > 0xFFFF) return nullptr;  // not a resource number
    auto picture = resources::sharedPicture(id, scale, &artworkToScale);
    if (!picture) return nullptr;
    BITMAPINFO format = topDownRgb(picture->width(), picture->height());
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    auto blank = std::make_unique<windows::GdiBitmap>(bitmap, picture->width(), picture->height(),
                                                      static_cast<unsigned char*>(bits));
    return std::make_unique<ScaledBitmap>(std::move(picture), std::move(blank));
}

}  // namespace platform
