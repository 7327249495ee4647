#pragma once

#include "canvas.h"

namespace artwork {

// Needle angle in degrees counter-clockwise from +x for a gain reduction of dB decibels;
// this is the same law the editor uses to draw its needle.
double meterAngleDeg(double reductionDb);

// The recessed window around the meter face, printed on the panel.
void drawMeterWindow(cairo_t* cr);

// The 100 x 43 meter face drawn at the face position of the window.
Image renderMeterFace();

} // namespace artwork
