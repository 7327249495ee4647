#pragma once

#include "canvas.h"

namespace artwork {

// Lever angles (clockwise from 12 o'clock) for Valve, Clear and Off.
double processLeverAngle(int position);

// The legends and position dots printed on the panel around the switch.
void drawProcessLegends(cairo_t* cr);

// Three 106 x 78 frames, the lever at Valve, Clear and Off.
Image renderProcessSwitch(const Image& panel);

} // namespace artwork
