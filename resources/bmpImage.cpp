#include "bmpImage.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace resources {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kInfoHeaderSize = 40;
// Large enough for any editor picture, small enough that no size computation can overflow.
constexpr std::int64_t kMaxSide = 1 << 15;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

std::uint32_t read16(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
}

std::uint32_t read32(const unsigned char* p)
{
    return read16(p) | (read16(p + 2) << 16);
}

std::int32_t readSigned32(const unsigned char* p)
{
    const std::uint32_t v = read32(p);
    return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v) : -static_cast<std::int32_t>(~v) - 1;
}

} // namespace

bool locateBmp24(const unsigned char* data, unsigned long size, PixelRows& out)
{
    if (data == nullptr)
        return false;
    const std::uint64_t bufferSize = size;
    if (bufferSize < kFileHeaderSize + kInfoHeaderSize)
        return false;

    // BITMAPFILEHEADER
    if (data[0] != 'B' || data[1] != 'M')
        return false;
    const std::uint64_t fileSize = read32(data + 2);
    if (read16(data + 6) != 0 || read16(data + 8) != 0)
        return false;
    const std::uint64_t pixelOffset = read32(data + 10);

    // BITMAPINFOHEADER, or one of its longer successors whose extra fields we do not need.
    const std::uint64_t infoSize = read32(data + 14);
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return false;
    if (kFileHeaderSize + infoSize > bufferSize)
        return false;
    const std::int64_t width = readSigned32(data + 18);
    const std::int64_t rawHeight = readSigned32(data + 22);
    const std::uint32_t planes = read16(data + 26);
    const std::uint32_t bitsPerPixel = read16(data + 28);
    const std::uint32_t compression = read32(data + 30);
    const std::uint64_t imageSize = read32(data + 34);
    const std::uint64_t coloursUsed = read32(data + 46);
    const std::uint64_t coloursImportant = read32(data + 50);

    if (planes != 1 || bitsPerPixel != 24 || compression != 0)
        return false;
    if (width <= 0 || width > kMaxSide || rawHeight == 0 || rawHeight > kMaxSide || rawHeight < -kMaxSide)
        return false;
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -rawHeight : rawHeight;
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
        return false;
    // A 24-bit image needs no palette, but one may be present; it must fit before the pixels.
    if (coloursUsed > 256 || coloursImportant > coloursUsed)
        return false;

    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t pixelBytes = rowBytes * static_cast<std::uint64_t>(height);
    if (pixelOffset < kFileHeaderSize + infoSize + coloursUsed * 4)
        return false;
    if (imageSize != 0 && imageSize < pixelBytes)
        return false;
    if (fileSize < pixelOffset + pixelBytes || fileSize > bufferSize)
        return false;
    if (pixelOffset + pixelBytes > bufferSize)
        return false;

    // A bottom-up file holds the top row last.
    const std::uint64_t topRow = topDown ? 0 : static_cast<std::uint64_t>(height - 1);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.top = data + pixelOffset + topRow * rowBytes;
    out.stride = topDown ? static_cast<std::ptrdiff_t>(rowBytes) : -static_cast<std::ptrdiff_t>(rowBytes);
    out.bgr = true;
    return true;
}

bool decodeBmp24(const unsigned char* data, unsigned long size, BmpImage& out)
{
    PixelRows pixels;
    if (!locateBmp24(data, size, pixels))
        return false;
    BmpImage image;
    image.width = pixels.width;
    image.height = pixels.height;
    image.rgb.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 3);
    for (int y = 0; y < pixels.height; ++y)
        copyRgb(pixels, y, image.rgb.data() + static_cast<std::size_t>(y) * pixels.width * 3);
    out = std::move(image);
    return true;
}

PixelRows rowsOf(const BmpImage& image)
{
    PixelRows rows;
    if (image.width <= 0 || image.height <= 0
        || image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3)
        return rows;
    rows.width = image.width;
    rows.height = image.height;
    rows.top = image.rgb.data();
    rows.stride = static_cast<std::ptrdiff_t>(image.width) * 3;
    return rows;
}

void copyRgb(const PixelRows& pixels, int y, unsigned char* to)
{
    const unsigned char* from = pixels.row(y);
    if (!pixels.bgr) {
        std::memcpy(to, from, static_cast<std::size_t>(pixels.width) * 3);
        return;
    }
    for (int x = 0; x < pixels.width; ++x, from += 3, to += 3) {
        to[0] = from[2];
        to[1] = from[1];
        to[2] = from[0];
    }
}

} // namespace resources
