// The plug-in's own artwork, decoded from what the build embedded.
#pragma once

#include "bmpImage.h"

namespace resources {

// Picture `id` for an editor scale (resample.h's pictureForScale over both sets);
// false when there is no such picture or it is damaged.
bool embeddedPicture(int id, double scale, BmpImage& out);

} // namespace resources
