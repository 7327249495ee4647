#include "processSwitch.h"

#include <cmath>

namespace artwork {
namespace {

constexpr Rect kPlace = layout::kProcessSwitch;
// Switch centre in window coordinates.
constexpr double kCx = kPlace.centreX();
constexpr double kCy = kPlace.top + 48.0;
constexpr double kLeverLength = 23.0;
constexpr double kLegendRadius = 35.0;
constexpr double kDotRadius = 28.5;

void hexNut(cairo_t* cr, double cx, double cy, double radius)
{
    cairo_new_sub_path(cr);
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI / 6 + i * M_PI / 3;
        cairo_line_to(cr, cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    cairo_close_path(cr);
}

void drawSwitch(cairo_t* cr, double cx, double cy, double angleDeg)
{
    cairo_save(cr);
    // Shadow of the nut on the panel.
    hexNut(cr, cx + 1.5, cy + 2.5, 12.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);

    // Chrome hex nut.
    cairo_pattern_t* nut = cairo_pattern_create_linear(cx - 12, cy - 12, cx + 12, cy + 12);
    cairo_pattern_add_color_stop_rgb(nut, 0.0, 0.86, 0.85, 0.82);
    cairo_pattern_add_color_stop_rgb(nut, 0.45, 0.50, 0.50, 0.48);
    cairo_pattern_add_color_stop_rgb(nut, 1.0, 0.20, 0.20, 0.20);
    hexNut(cr, cx, cy, 12.0);
    cairo_set_source(cr, nut);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_pattern_destroy(nut);

    // Threaded bushing, lit the other way so it reads as a ring standing out of the nut.
    cairo_pattern_t* bush = cairo_pattern_create_linear(cx - 7, cy - 7, cx + 7, cy + 7);
    cairo_pattern_add_color_stop_rgb(bush, 0.0, 0.30, 0.30, 0.29);
    cairo_pattern_add_color_stop_rgb(bush, 1.0, 0.78, 0.77, 0.74);
    circle(cr, cx, cy, 7.2);
    cairo_set_source(cr, bush);
    cairo_fill(cr);
    cairo_pattern_destroy(bush);
    circle(cr, cx, cy, 4.6);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_fill(cr);

    // The lever, a tapered chrome bat leaning towards its legend.
    const double dx = pointerDx(angleDeg);
    const double dy = pointerDy(angleDeg);
    const double nx = -dy;
    const double ny = dx;
    const double tipX = cx + dx * kLeverLength;
    const double tipY = cy + dy * kLeverLength;

    // Its shadow falls down and to the right.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 5.0);
    cairo_move_to(cr, cx + 2.5, cy + 3.5);
    cairo_line_to(cr, tipX + 3.5, tipY + 5.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
    cairo_stroke(cr);
    circle(cr, tipX + 3.5, tipY + 5.0, 4.2);
    cairo_fill(cr);

    cairo_move_to(cr, cx + nx * 3.0, cy + ny * 3.0);
    cairo_line_to(cr, tipX + nx * 1.8, tipY + ny * 1.8);
    cairo_line_to(cr, tipX - nx * 1.8, tipY - ny * 1.8);
    cairo_line_to(cr, cx - nx * 3.0, cy - ny * 3.0);
    cairo_close_path(cr);
    cairo_pattern_t* shaft = cairo_pattern_create_linear(cx + nx * 3, cy + ny * 3, cx - nx * 3, cy - ny * 3);
    // The side of the shaft that faces the upper left is the lit one.
    const bool litFirst = (nx + ny) < 0;
    cairo_pattern_add_color_stop_rgb(shaft, 0.0, litFirst ? 0.92 : 0.30, litFirst ? 0.91 : 0.30, litFirst ? 0.88 : 0.29);
    cairo_pattern_add_color_stop_rgb(shaft, 0.5, 0.62, 0.61, 0.59);
    cairo_pattern_add_color_stop_rgb(shaft, 1.0, litFirst ? 0.30 : 0.92, litFirst ? 0.30 : 0.91, litFirst ? 0.29 : 0.88);
    cairo_set_source(cr, shaft);
    cairo_fill(cr);
    cairo_pattern_destroy(shaft);

    cairo_pattern_t* ball = cairo_pattern_create_radial(tipX - 1.3, tipY - 1.5, 0.3, tipX, tipY, 4.2);
    cairo_pattern_add_color_stop_rgb(ball, 0.0, 1.0, 1.0, 0.98);
    cairo_pattern_add_color_stop_rgb(ball, 0.5, 0.62, 0.61, 0.59);
    cairo_pattern_add_color_stop_rgb(ball, 1.0, 0.22, 0.22, 0.22);
    circle(cr, tipX, tipY, 4.0);
    cairo_set_source(cr, ball);
    cairo_fill(cr);
    cairo_pattern_destroy(ball);
    cairo_restore(cr);
}

} // namespace

double processLeverAngle(int position)
{
    return -55.0 + 55.0 * position;
}

void drawProcessLegends(cairo_t* cr)
{
    const char* const names[] = {"Valve", "Clear", "Off"};
    Font font{"Liberation Sans", 10.0, true};
    cairo_save(cr);
    // A faint engraved arc ties the three positions together.
    cairo_set_line_width(cr, 1.0);
    const double a0 = (processLeverAngle(0) - 90.0) * M_PI / 180.0;
    const double a1 = (processLeverAngle(2) - 90.0) * M_PI / 180.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCx, kCy + 1.0, kDotRadius, a0, a1);
    setColour(cr, palette::kEngraveLight, 0.5);
    cairo_stroke(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kCx, kCy, kDotRadius, a0, a1);
    setColour(cr, palette::kEngraveDark, 0.85);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        const double a = processLeverAngle(i);
        circle(cr, kCx + pointerDx(a) * kDotRadius, kCy + pointerDy(a) * kDotRadius, 1.7);
        setColour(cr, palette::kInk);
        cairo_fill(cr);
        const double lx = kCx + pointerDx(a) * kLegendRadius;
        const double ly = kCy + pointerDy(a) * kLegendRadius;
        const Align align = i == 0 ? Align::Right : i == 2 ? Align::Left : Align::Centre;
        const double nudge = i == 1 ? 0.0 : (i == 0 ? 4.0 : -4.0);
        printLegend(cr, names[i], lx + nudge, ly + (i == 1 ? 0.0 : -1.0), font, align, palette::kInk);
    }
    cairo_restore(cr);
}

Image renderProcessSwitch(const Image& panel)
{
    const int w = kPlace.width();
    const int h = kPlace.height();
    Image strip(w, h * 3);
    const Image base = panel.crop(kPlace);
    for (int k = 0; k < 3; ++k) {
        strip.paste(base, 0, k * h);
        Pen pen(strip);
        cairo_rectangle(pen, 0, k * h, w, h);
        cairo_clip(pen);
        drawSwitch(pen, kCx - kPlace.left, kCy - kPlace.top + k * h, processLeverAngle(k));
    }
    return strip;
}

} // namespace artwork
