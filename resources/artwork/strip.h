#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace artwork {

// A window rectangle of the strip below the panel, moved into the strip picture's own pixels.
constexpr Rect onStrip(const Rect& r)
{
    return Rect{r.left, r.top - layout::kStripTop, r.right, r.bottom - layout::kStripTop};
}

// The 400 x 80 strip below the panel: the same brushed plate with its screws, the Mix scale
// and the captions and wells of the three selectors. Its controls are cropped from it.
Image renderStrip();

// One frame per position, stacked: the row of cells with cell i lit in frame i.
Image renderSelector(const Image& strip, const Rect& place, const std::vector<std::string>& cells);

} // namespace artwork
