// The plug-in's own artwork as the headless backend's bitmap provider: every
// program linked with the backend finds the editor's pictures by number
// without registering them.
#pragma once

#include "headlessBitmaps.h"

namespace platform::headless {

// Decodes embedded bitmap `id`; false when there is none or it is damaged.
bool embeddedArtwork(int id, RgbImage& out);

}  // namespace platform::headless
