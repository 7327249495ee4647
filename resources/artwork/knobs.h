#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace artwork {

// One printed mark of a knob scale, at a fraction 0..1 of the sweep.
struct ScaleMark {
    double fraction;
    bool major;
    std::string label; // empty: no number
};

struct KnobGeometry {
    double skirtRadius;
    double capRadius;
    int flutes;
    double pointerInner;
    double pointerOuter;
    double pointerWidth;
    double tickInner;
    double majorTickOuter;
    double minorTickOuter;
    double labelGap; // between the end of a major tick and the number
    double labelSize;
};

const KnobGeometry& largeKnob();
const KnobGeometry& smallKnob();
const KnobGeometry& mixKnob();

std::vector<ScaleMark> linearScale(double low, double high, double minorStep, double majorStep, double labelStep);
std::vector<ScaleMark> ratioScale();

double knobAngle(int frame, int frames);

// Prints the scale around a knob centre on the panel.
void drawKnobScale(cairo_t* cr, double cx, double cy, const KnobGeometry& g, const std::vector<ScaleMark>& marks);

// Draws the knob itself (shadow, fluted skirt, cap and pointer) turned to angleDeg.
void drawKnob(cairo_t* cr, double cx, double cy, const KnobGeometry& g, double angleDeg);

// Film strip: every frame is the panel under the knob with the knob drawn at its turn.
Image renderKnobStrip(const Image& panel, const Rect& place, const KnobGeometry& g, int frames);

} // namespace artwork
