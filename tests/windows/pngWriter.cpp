#include "pngWriter.h"

#include "bmpImage.h"
#include "packedBitmap.h"

#include <cstdio>

namespace screenshot {

namespace {

std::uint32_t crcTable[256];

void makeCrcTable() {
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
}

std::uint32_t crc(const std::vector<unsigned char>& bytes, std::size_t from) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = crcTable[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void chunk(std::vector<unsigned char>& out, const char* type,
           const std::vector<unsigned char>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc(out, typeStart));
}

}  // namespace

Image capture(HWND window, int x, int y, int w, int h) {
    Image image;
    if (window) {
        RECT client;
        GetClientRect(window, &client);
        x = 0;
        y = 0;
        w = client.right;
        h = client.bottom;
    }
    if (w <= 0 || h <= 0) return image;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section && bits) {
        HGDIOBJ old = SelectObject(memory, section);
        BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
        GdiFlush();
        image.width = w;
        image.height = h;
        const auto* data = static_cast<const std::uint32_t*>(bits);
        image.pixels.assign(data, data + static_cast<std::size_t>(w) * h);
        for (std::uint32_t& p : image.pixels) p &= 0xFFFFFFu;
        SelectObject(memory, old);
    }
    if (section) DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

bool savePng(const Image& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0) return false;
    if (!crcTable[1]) makeCrcTable();

    // Filter byte 0 and RGB triples, row by row.
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (image.width * 3 + 1));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.at(x, y);
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }
    // A zlib stream of stored blocks: no compression, so no compressor needed.
    std::vector<unsigned char> z{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<unsigned char>(n));
        z.push_back(static_cast<unsigned char>(n >> 8));
        z.push_back(static_cast<unsigned char>(~n));
        z.push_back(static_cast<unsigned char>(~n >> 8));
        const auto from = raw.begin() + static_cast<long>(at);
        z.insert(z.end(), from, from + static_cast<long>(n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, (b << 16) | a);

    std::vector<unsigned char> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32(header, static_cast<std::uint32_t>(image.width));
    put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", {});

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && written;
}

Image resourcePixels(HMODULE module, int id) {
    Image image;
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (!bitmap) return image;
    BITMAP info;
    GetObjectA(bitmap, sizeof info, &info);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(), &format,
              DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (auto& p : image.pixels) p &= 0xFFFFFFu;
    DeleteObject(bitmap);
    return image;
}

Image packedResourcePixels(HMODULE module, int id) {
    Image image;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "KVBZ");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    std::vector<unsigned char> bmp;
    resources::BmpImage picture;
    if (!data || !resources::unpackBitmap(data, SizeofResource(module, found), bmp) ||
        !resources::decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), picture))
        return image;
    image.width = picture.width;
    image.height = picture.height;
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
        image.pixels.push_back(std::uint32_t(picture.rgb[i]) << 16 |
                               std::uint32_t(picture.rgb[i + 1]) << 8 | picture.rgb[i + 2]);
    return image;
}

}  // namespace screenshot
