#include "meter.h"

#include <cmath>

namespace artwork {
namespace {

constexpr Rect kFace = layout::kMeterFace;
// The pivot in face coordinates.
constexpr double kPx = layout::kMeterPivotX - kFace.left;
constexpr double kPy = layout::kMeterPivotY - kFace.top;

constexpr double kArcRadius = 66.0;
constexpr double kMajorOuter = 75.0;
constexpr double kMinorOuter = 71.0;
constexpr double kNumberRadius = 81.0;
// How far the 0 sits off the resting needle's line.
constexpr double kZeroLabelShift = 6.0;

constexpr Colour kFaceInk = rgb(238, 226, 198);

struct Point {
    double x, y;
};

Point onNeedle(double reductionDb, double radius)
{
    const double t = meterAngleDeg(reductionDb) * M_PI / 180.0;
    return {kPx + radius * std::cos(t), kPy - radius * std::sin(t)};
}

void needleArc(cairo_t* cr, double radius, double fromDb, double toDb)
{
    const double a0 = -meterAngleDeg(fromDb) * M_PI / 180.0;
    const double a1 = -meterAngleDeg(toDb) * M_PI / 180.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPx, kPy, radius, a0, a1);
}

} // namespace

double meterAngleDeg(double reductionDb)
{
    const double gain = std::pow(10.0, -reductionDb / 20.0);
    return 120.0 - 60.0 * (1.0 - gain);
}

void drawMeterWindow(cairo_t* cr)
{
    const double x0 = kFace.left - 9;
    const double y0 = kFace.top - 9;
    const double w = kFace.width() + 18;
    const double h = kFace.height() + 18;
    cairo_save(cr);

    // Cut-out in the panel, with a lit lower edge like the engraved lines.
    roundedRect(cr, x0 - 1.5, y0 - 1.5, w + 3, h + 3, 7.5);
    setColour(cr, palette::kEngraveLight, 0.6);
    cairo_fill(cr);
    roundedRect(cr, x0 - 1.5, y0 - 2.0, w + 3, h + 2.8, 7.5);
    setColour(cr, palette::kEngraveDark, 0.9);
    cairo_fill(cr);

    // Brushed bezel ring, lit from above.
    cairo_pattern_t* bezel = cairo_pattern_create_linear(0, y0, 0, y0 + h);
    cairo_pattern_add_color_stop_rgb(bezel, 0.0, 0.58, 0.57, 0.54);
    cairo_pattern_add_color_stop_rgb(bezel, 0.12, 0.38, 0.37, 0.35);
    cairo_pattern_add_color_stop_rgb(bezel, 0.85, 0.20, 0.20, 0.19);
    cairo_pattern_add_color_stop_rgb(bezel, 1.0, 0.12, 0.12, 0.12);
    roundedRect(cr, x0, y0, w, h, 6);
    cairo_set_source(cr, bezel);
    cairo_fill(cr);
    cairo_pattern_destroy(bezel);

    // Inner step down to the glass, shaded the opposite way.
    const double ix = kFace.left - 4;
    const double iy = kFace.top - 4;
    cairo_pattern_t* step = cairo_pattern_create_linear(0, iy, 0, iy + kFace.height() + 8);
    cairo_pattern_add_color_stop_rgb(step, 0.0, 0.05, 0.05, 0.05);
    cairo_pattern_add_color_stop_rgb(step, 1.0, 0.30, 0.29, 0.27);
    roundedRect(cr, ix, iy, kFace.width() + 8, kFace.height() + 8, 3);
    cairo_set_source(cr, step);
    cairo_fill(cr);
    cairo_pattern_destroy(step);
    cairo_rectangle(cr, kFace.left - 2, kFace.top - 2, kFace.width() + 4, kFace.height() + 4);
    cairo_set_source_rgb(cr, 0.03, 0.03, 0.03);
    cairo_fill(cr);
    cairo_restore(cr);
}

Image renderMeterFace()
{
    Image face(kFace.width(), kFace.height());
    Pen pen(face);
    cairo_t* cr = pen;

    // Dark warm paper, faintly lit from below by the meter lamp, so the pale needle stands out.
    cairo_pattern_t* paper = cairo_pattern_create_radial(kPx, kFace.height() + 14, 6, kPx, kFace.height() + 6, 78);
    cairo_pattern_add_color_stop_rgb(paper, 0.0, 0.30, 0.22, 0.13);
    cairo_pattern_add_color_stop_rgb(paper, 0.55, 0.17, 0.135, 0.10);
    cairo_pattern_add_color_stop_rgb(paper, 1.0, 0.105, 0.093, 0.082);
    cairo_paint(cr);
    cairo_set_source(cr, paper);
    cairo_paint(cr);
    cairo_pattern_destroy(paper);

    // The bezel throws a little shade onto the top of the face.
    cairo_pattern_t* shade = cairo_pattern_create_linear(0, 0, 0, 5);
    cairo_pattern_add_color_stop_rgba(shade, 0.0, 0, 0, 0, 0.55);
    cairo_pattern_add_color_stop_rgba(shade, 1.0, 0, 0, 0, 0.0);
    cairo_rectangle(cr, 0, 0, kFace.width(), 5);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
    // Heavy-compression zone as a brass band inside the arc.
    cairo_set_line_width(cr, 2.2);
    needleArc(cr, kArcRadius - 1.6, 12.0, 24.0);
    setColour(cr, palette::kBrass, 0.85);
    cairo_stroke(cr);

    cairo_set_line_width(cr, 0.9);
    needleArc(cr, kArcRadius, -0.5, 25.0);
    setColour(cr, kFaceInk);
    cairo_stroke(cr);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    struct Mark {
        double db;
        const char* label;
    };
    const Mark majors[] = {{0, "0"}, {3, "-3"}, {6, "-6"}, {12, "-12"}, {24, "-24"}};
    const double minors[] = {1, 2, 4, 5, 8, 10, 15, 20};
    for (double db : minors) {
        const Point a = onNeedle(db, kArcRadius);
        const Point b = onNeedle(db, kMinorOuter);
        cairo_set_line_width(cr, 0.9);
        setColour(cr, kFaceInk, 0.9);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        cairo_stroke(cr);
    }
    Font numbers{"Liberation Sans", 8.0, true};
    for (const Mark& m : majors) {
        const Point a = onNeedle(m.db, kArcRadius - 0.4);
        const Point b = onNeedle(m.db, kMajorOuter);
        cairo_set_line_width(cr, 1.4);
        setColour(cr, kFaceInk);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        cairo_stroke(cr);
        Point n = onNeedle(m.db, kNumberRadius);
        if (m.db == 0.0) {
            // The needle rests on the 0 mark; its number sits beside the resting
            // needle, on the side away from the scale, so that it stays readable.
            const double t = meterAngleDeg(0.0) * M_PI / 180.0;
            n.x -= kZeroLabelShift * std::sin(t);
            n.y -= kZeroLabelShift * std::cos(t);
        }
        // Centre the digits, not the minus sign, over the mark.
        const double minus = m.label[0] == '-' ? textWidth(cr, "-", numbers) * 0.5 : 0.0;
        drawTextCentred(cr, m.label, n.x - minus, n.y, numbers, kFaceInk);
    }

    drawText(cr, "GR", kPx, 37.5, Font{"Liberation Sans", 8.5, true, false, 1.0}, Align::Centre, kFaceInk);
    drawText(cr, "dB", 90.0, 39.0, Font{"Liberation Sans", 6.5, false, true}, Align::Centre, kFaceInk, 0.8);

    return face;
}

} // namespace artwork
