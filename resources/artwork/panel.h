#pragma once

#include "canvas.h"

namespace artwork {

// The 400 x 309 front panel with every printed legend, scale and recess;
// all control frames are cropped from it.
Image renderPanel();

// The light on the middle of a w x h plate: its corners fall off a little into shade.
void paintVignette(cairo_t* cr, double w, double h);

} // namespace artwork
