#include "packedBitmap.h"

#include <cstring>
#include <zlib.h>

namespace resources {

namespace {

std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

} // namespace

bool differenceRows(std::vector<unsigned char>& bmp, std::uint32_t period, bool encode)
{
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M')
        return false;
    const std::uint32_t offset = le32(&bmp[10]);
    const auto width = static_cast<std::int32_t>(le32(&bmp[18]));
    const auto height = static_cast<std::int32_t>(le32(&bmp[22]));
    if (width <= 0 || height == 0 || height == INT32_MIN || width > 65535)
        return false;
    const std::uint64_t rowBytes = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -std::int64_t(height) : height);
    if (offset > bmp.size() || rowBytes * rows > bmp.size() - offset)
        return false;
    if (period == 0 || period >= rows)
        return true;
    unsigned char* pixels = bmp.data() + offset;
    // Encoding runs from the last row back so that every row is taken against the
    // original of the row before it; decoding runs forward over restored rows.
    for (std::uint64_t i = 0; i < rows - period; ++i) {
        const std::uint64_t row = encode ? rows - 1 - i : period + i;
        unsigned char* to = pixels + row * rowBytes;
        const unsigned char* from = to - period * rowBytes;
        for (std::uint64_t b = 0; b < rowBytes; ++b)
            to[b] = static_cast<unsigned char>(encode ? to[b] - from[b] : to[b] + from[b]);
    }
    return true;
}

bool unpackBitmap(const unsigned char* data, unsigned long size, std::vector<unsigned char>& bmp)
{
    if (!data || size < kPackedHeaderSize || std::memcmp(data, "KvBz", 4) != 0)
        return false;
    const std::uint32_t period = le32(data + 4);
    const std::uint32_t unpacked = le32(data + 8);
    if (unpacked == 0 || unpacked > kLargestUnpacked)
        return false;
    std::vector<unsigned char> out(unpacked);
    uLongf produced = unpacked;
    if (uncompress(out.data(), &produced, data + kPackedHeaderSize, size - kPackedHeaderSize) != Z_OK
        || produced != unpacked)
        return false;
    if (!differenceRows(out, period, false))
        return false;
    bmp = std::move(out);
    return true;
}

} // namespace resources
