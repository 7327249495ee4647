// The pictures made for editor scales other than 1, kept for the life of the
// process and shared by every editor in it: a second editor, or the same one
// opened again, draws from what the first made. Each entry keeps the artwork
// it is made from, since its other rows may be asked for at any time.
// Editors of several plug-in instances may open on different host threads at
// once, so every call may come from any thread (never the audio thread).
#pragma once

#include <cstddef>
#include <memory>

#include "scaledPicture.h"

namespace resources {

// Fills `artwork` in place with the artwork of number `id` that other scales
// are made from; false when there is none.
using ArtworkSource = bool (*)(int id, Artwork& artwork);

// Picture `id` for `scale`, made by the first caller from what `source` gives
// and kept; null when there is no such artwork. The plug-in's artwork never
// changes in a process, so the number and the scale are the whole key.
std::shared_ptr<ScaledPicture> sharedPicture(int id, double scale, ArtworkSource source);

struct PictureCacheContents {
    int sources = 0;          // artwork pictures kept to make rows from
    int pictures = 0;         // pictures for a scale
    long rowsMade = 0;        // rows made in them so far
    long rowsResampled = 0;   // those of them resampled (the rest copied at 2)
    std::size_t bytes = 0;    // bytes held, the artwork included
};
PictureCacheContents pictureCacheContents();

} // namespace resources
