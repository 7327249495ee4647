#include "scaledPicture.h"

#include <algorithm>

#include "resample.h"
#include "rowRuns.h"

namespace resources {

ScaledPicture::ScaledPicture(std::shared_ptr<const Artwork> artwork, double scale)
    : source(std::move(artwork)),
      ratio(scale / source->drawnAt),
      asIs(scale == source->drawnAt),
      w(asIs ? source->pixels.width : scaledSide(source->pixels.width, source->drawnAt, scale)),
      h(asIs ? source->pixels.height : scaledSide(source->pixels.height, source->drawnAt, scale)),
      made(new unsigned char[static_cast<std::size_t>(w) * h * 3]),
      done(static_cast<std::size_t>(h), false)
{
}

const unsigned char* ScaledPicture::rows(int first, int count)
{
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    std::lock_guard<std::mutex> lock(making);
    makeMissingRows(done, first, count, [&](int from, int rows) {
        unsigned char* to = made.get() + from * rowBytes;
        if (asIs) {
            // The artwork's rows in the order the editor's pictures take.
            for (int y = from; y < from + rows; ++y, to += rowBytes)
                copyRgb(source->pixels, y, to);
        } else {
            resampleRows(source->pixels, ratio, w, h, from, rows, to);
        }
        madeCount += rows;
    });
    return made.get() + std::max(0, std::min(first, h)) * rowBytes;
}

int ScaledPicture::rowsMade() const
{
    std::lock_guard<std::mutex> lock(making);
    return madeCount;
}

int ScaledPicture::rowsResampled() const
{
    return asIs ? 0 : rowsMade();
}

std::size_t ScaledPicture::bytesHeld() const
{
    return static_cast<std::size_t>(rowsMade()) * w * 3;
}

} // namespace resources
