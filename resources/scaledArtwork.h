// The plug-in's own artwork, decoded from what the build embedded.
#pragma once

#include "scaledPicture.h"

namespace resources {

// The pixels of 1x picture `id` where they lie in the program; false when
// there is no such picture or it is damaged.
bool embeddedPixels(int id, PixelRows& out);

// The artwork picture `id` is made from at editor scales other than 1: its 2x
// picture, unpacked, or the 1x one where there is no 2x one; false when there
// is no such picture or it is damaged. An ArtworkSource (pictureCache.h).
bool embeddedArtworkToScale(int id, Artwork& out);

} // namespace resources
