// Pictures for an editor scale above 1: the artwork drawn at 2x is a resource
// of type KVBZ under the picture's number, packed (resources/packedBitmap.h);
// other scales are resampled from it. A picture without one (a test's own) is
// enlarged from its BITMAP resource.
#include <memory>

#include "../resourceBitmap.h"
#include "bmpImage.h"
#include "gdiBitmap.h"
#include "module.h"
#include "packedBitmap.h"
#include "resample.h"

namespace platform {

namespace {

bool packedResource(int id, resources::BmpImage& out) {
    HMODULE module = windows::moduleHandle();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "KVBZ");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return false;
    std::vector<unsigned char> bmp;
    return resources::unpackBitmap(static_cast<const unsigned char*>(data),
                                   SizeofResource(module, found), bmp) &&
           resources::decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), out);
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
bool bitmapResource(int id, resources::BmpImage& out) {
    HBITMAP bitmap = LoadBitmapA(windows::moduleHandle(), MAKEINTRESOURCEA(id));
    if (!bitmap) return false;
    BITMAP info;
    bool ok = GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmWidth > 0 &&
              info.bmHeight > 0;
    if (ok) {
        BITMAPINFO format = topDownRgb(info.bmWidth, info.bmHeight);
        const int rowBytes = (info.bmWidth * 3 + 3) & ~3;
        std::vector<unsigned char> rows(static_cast<std::size_t>(rowBytes) * info.bmHeight);
        HDC screen = GetDC(nullptr);
        ok = screen && GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), rows.data(),
                                 &format, DIB_RGB_COLORS) == info.bmHeight;
        if (screen) ReleaseDC(nullptr, screen);
        if (ok) {
            out.width = info.bmWidth;
            out.height = info.bmHeight;
            out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x)
                    for (int c = 0; c < 3; ++c)
                        out.rgb[(static_cast<std::size_t>(y) * out.width + x) * 3 + c] =
                            rows[static_cast<std::size_t>(y) * rowBytes + x * 3 + (2 - c)];
        }
    }
    DeleteObject(bitmap);
    return ok;
}

std::unique_ptr<NativeBitmap> toGdi(const resources::BmpImage& picture) {
    BITMAPINFO format = topDownRgb(picture.width, picture.height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    const int rowBytes = (picture.width * 3 + 3) & ~3;
    auto* rows = static_cast<unsigned char*>(bits);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int c = 0; c < 3; ++c)
                rows[static_cast<std::size_t>(y) * rowBytes + x * 3 + (2 - c)] =
                    picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3 + c];
    GdiFlush();
    return std::make_unique<windows::GdiBitmap>(bitmap, picture.width, picture.height);
}

}  // namespace

std::unique_ptr<NativeBitmap> loadResourceBitmap(int id, double scale) {
    if (id <= 0 || id > 0xFFFF) return nullptr;  // not a resource number
    resources::BmpImage source;
    resources::BmpImage picture;
    if (packedResource(id, source))
        picture = resources::pictureForScale(nullptr, &source, scale);
    else if (bitmapResource(id, source))
        picture = resources::pictureForScale(&source, nullptr, scale);
    if (picture.width <= 0 || picture.height <= 0) return nullptr;
    return toGdi(picture);
}

}  // namespace platform
