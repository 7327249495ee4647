// The headless backend draws with the cairo device it shares with the Linux
// backend (platform/cairo/); this header keeps its old place and names.
#pragma once

#include "../cairo/cairoDevice.h"

namespace platform::headless {

using cairo_draw::CairoDevice;
using cairo_draw::saveSurfacePng;
using cairo_draw::saveSurfacePngScaled;
using cairo_draw::surfacePixel;

}  // namespace platform::headless
