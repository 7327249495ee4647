#pragma once

#include "canvas.h"

namespace artwork {

// The 400 x 309 front panel with every printed legend, scale and recess;
// all control frames are cropped from it.
Image renderPanel();

} // namespace artwork
