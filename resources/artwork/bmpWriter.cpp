#include "bmpWriter.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace artwork {
namespace {

void put16(std::vector<unsigned char>& out, std::uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::vector<unsigned char> bmp24Bytes(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    if (pixels == nullptr || width <= 0 || height <= 0)
        return {};

    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    const std::uint32_t headerBytes = 14 + 40;

    std::vector<unsigned char> out;
    out.reserve(headerBytes + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, headerBytes + imageBytes);
    put32(out, 0); // two reserved words
    put32(out, headerBytes);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height)); // positive: bottom-up rows
    put16(out, 1);                                   // planes
    put16(out, 24);                                  // bits per pixel
    put32(out, 0);                                   // BI_RGB, no compression
    put32(out, imageBytes);
    put32(out, 2835); // 72 dpi, only informative
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::size_t>(y) * stride);
        std::uint32_t written = 0;
        for (int x = 0; x < width; ++x) {
            // Opaque surfaces store 0xXXRRGGBB in native order; BMP wants B, G, R.
            const std::uint32_t p = row[x];
            out.push_back(static_cast<unsigned char>(p & 0xFF));
            out.push_back(static_cast<unsigned char>((p >> 8) & 0xFF));
            out.push_back(static_cast<unsigned char>((p >> 16) & 0xFF));
            written += 3;
        }
        for (; written < rowBytes; ++written)
            out.push_back(0);
    }
    return out;
}

bool writeFile(const std::vector<unsigned char>& out, const std::string& path)
{
    if (out.empty())
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

bool writeBmp24(cairo_surface_t* surface, const std::string& path)
{
    return writeFile(bmp24Bytes(surface), path);
}

} // namespace artwork
