#include "packedWriter.h"

#include "bmpWriter.h"
#include "packedBitmap.h"

#include <zlib.h>

namespace artwork {
namespace {

std::vector<unsigned char> pack(std::vector<unsigned char> bmp, std::uint32_t period)
{
    const auto unpacked = static_cast<std::uint32_t>(bmp.size());
    if (!resources::differenceRows(bmp, period, true))
        return {};
    uLongf room = compressBound(bmp.size());
    std::vector<unsigned char> out(resources::kPackedHeaderSize + room);
    if (compress2(out.data() + resources::kPackedHeaderSize, &room, bmp.data(), bmp.size(), 9) != Z_OK)
        return {};
    out.resize(resources::kPackedHeaderSize + room);
    const std::uint32_t fields[] = {period, unpacked};
    out[0] = 'K', out[1] = 'v', out[2] = 'B', out[3] = 'z';
    for (int f = 0; f < 2; ++f)
        for (int b = 0; b < 4; ++b)
            out[4 + 4 * f + b] = static_cast<unsigned char>(fields[f] >> (8 * b));
    return out;
}

} // namespace

bool writePackedBmp(cairo_surface_t* surface, int frames, const std::string& path)
{
    const std::vector<unsigned char> bmp = bmp24Bytes(surface);
    if (bmp.empty())
        return false;
    std::vector<unsigned char> best = pack(bmp, 0);
    const int rows = cairo_image_surface_get_height(surface);
    // Small strips whose frames differ all over pack better as they are: keep the smaller.
    if (frames > 1 && rows % frames == 0) {
        std::vector<unsigned char> byFrame = pack(bmp, static_cast<std::uint32_t>(rows / frames));
        if (!byFrame.empty() && (best.empty() || byFrame.size() < best.size()))
            best = std::move(byFrame);
    }
    return writeFile(best, path);
}

} // namespace artwork
