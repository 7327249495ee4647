// A picture for one editor scale whose rows are made the first time they are
// asked for, and kept: a film strip drawn frame by frame has only the frames
// shown made, however many it holds.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "bmpImage.h"

namespace resources {

// Artwork that pictures for other scales are made from.
struct Artwork {
    // What `pixels` point into; empty when they lie in the program's own data.
    // Filled in place: a copy would point into the original.
    std::vector<unsigned char> bytes;
    PixelRows pixels;
    double drawnAt = 0.0; // 1 or 2
};

class ScaledPicture {
public:
    // At the scale the artwork was drawn at the picture is that artwork;
    // elsewhere it has the size and the pixels pictureForScale gives
    // (resample.h). `source` has pixels.
    ScaledPicture(std::shared_ptr<const Artwork> source, double scale);
    ScaledPicture(const ScaledPicture&) = delete;
    ScaledPicture& operator=(const ScaledPicture&) = delete;

    int width() const { return w; }
    int height() const { return h; }

    // Rows first .. first + count - 1 (clamped to the picture), one after the
    // other, width * 3 bytes R, G, B each; those not made before are made now.
    // Any thread may ask; what it gets stays as it is while the picture lives.
    const unsigned char* rows(int first, int count);

    // Rows made so far, and those of them resampled rather than copied.
    int rowsMade() const;
    int rowsResampled() const;
    // Bytes of rows made; the artwork is not counted.
    std::size_t bytesHeld() const;

private:
    const std::shared_ptr<const Artwork> source;
    const double ratio;
    const bool asIs;
    const int w;
    const int h;
    mutable std::mutex making;
    // Allocated whole but left untouched until rows are made in it, so that
    // rows never asked for cost no memory.
    std::unique_ptr<unsigned char[]> made;
    std::vector<bool> done;
    int madeCount = 0;
};

} // namespace resources
