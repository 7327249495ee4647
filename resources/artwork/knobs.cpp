#include "knobs.h"

#include <cmath>
#include <cstdio>

namespace artwork {

const KnobGeometry& largeKnob()
{
    static const KnobGeometry g{31.0, 24.0, 40, 9.0, 22.5, 2.6, 35.5, 41.5, 38.5, 3.0, 8.5};
    return g;
}

const KnobGeometry& smallKnob()
{
    static const KnobGeometry g{15.5, 11.5, 24, 4.0, 10.6, 1.8, 18.2, 22.0, 20.5, 2.2, 7.2};
    return g;
}

const KnobGeometry& mixKnob()
{
    // The Ratio knob grown a little, so that it leads the strip without outweighing the panel.
    static const KnobGeometry g{17.5, 13.0, 26, 4.5, 12.0, 1.9, 20.5, 24.3, 22.8, 2.2, 7.2};
    return g;
}

std::vector<ScaleMark> linearScale(double low, double high, double minorStep, double majorStep, double labelStep)
{
    std::vector<ScaleMark> marks;
    const int steps = static_cast<int>(std::lround((high - low) / minorStep));
    for (int i = 0; i <= steps; ++i) {
        const double value = low + i * minorStep;
        const double majorRatio = (value - low) / majorStep;
        const bool major = std::fabs(majorRatio - std::round(majorRatio)) < 1e-6;
        const double labelRatio = (value - low) / labelStep;
        std::string label;
        if (std::fabs(labelRatio - std::round(labelRatio)) < 1e-6) {
            char text[16];
            std::snprintf(text, sizeof text, "%g", value);
            label = text;
        }
        marks.push_back({static_cast<double>(i) / steps, major, label});
    }
    return marks;
}

std::vector<ScaleMark> ratioScale()
{
    static const char* const labels[] = {"1.2", "1.5", "2", "3", "4", "6", "10"};
    std::vector<ScaleMark> marks;
    for (int i = 0; i < 7; ++i)
        marks.push_back({i / 6.0, true, labels[i]});
    return marks;
}

double knobAngle(int frame, int frames)
{
    return layout::kKnobStartDeg + layout::kKnobSweepDeg * frame / (frames - 1);
}

void drawKnobScale(cairo_t* cr, double cx, double cy, const KnobGeometry& g, const std::vector<ScaleMark>& marks)
{
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (const ScaleMark& m : marks) {
        const double a = layout::kKnobStartDeg + layout::kKnobSweepDeg * m.fraction;
        const double dx = pointerDx(a);
        const double dy = pointerDy(a);
        const double outer = m.major ? g.majorTickOuter : g.minorTickOuter;
        cairo_set_line_width(cr, m.major ? 1.3 : 0.9);
        setColour(cr, m.major ? palette::kInk : palette::kInkDim, m.major ? 1.0 : 0.85);
        cairo_move_to(cr, cx + dx * g.tickInner, cy + dy * g.tickInner);
        cairo_line_to(cr, cx + dx * outer, cy + dy * outer);
        cairo_stroke(cr);
        if (!m.label.empty()) {
            // Keep the same gap between tick and number whatever the number's shape: push wide
            // numbers out further at the sides, tall ones at the top and bottom.
            const Font font{"Liberation Sans", g.labelSize, true};
            const double halfWidth = textWidth(cr, m.label, font) / 2;
            const double halfHeight = g.labelSize * 0.36;
            const double r = g.majorTickOuter + g.labelGap + halfWidth * std::fabs(dx) + halfHeight * std::fabs(dy);
            drawTextCentred(cr, m.label, cx + dx * r, cy + dy * r, font, palette::kInk);
        }
    }
    cairo_restore(cr);
}

void drawKnob(cairo_t* cr, double cx, double cy, const KnobGeometry& g, double angleDeg)
{
    const double R = g.skirtRadius;
    cairo_save(cr);

    // Soft shadow thrown down and to the right by a light above the unit.
    const double sx = cx + R * 0.07;
    const double sy = cy + R * 0.12;
    cairo_pattern_t* shadow = cairo_pattern_create_radial(sx, sy, R * 0.85, sx, sy, R * 1.22);
    cairo_pattern_add_color_stop_rgba(shadow, 0.0, 0, 0, 0, 0.75);
    cairo_pattern_add_color_stop_rgba(shadow, 1.0, 0, 0, 0, 0.0);
    circle(cr, sx, sy, R * 1.22);
    cairo_set_source(cr, shadow);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    // Skirt body: near-black plastic lit from the upper left.
    cairo_pattern_t* body = cairo_pattern_create_linear(cx - R * 0.7, cy - R * 0.7, cx + R * 0.7, cy + R * 0.7);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.25, 0.25, 0.26);
    cairo_pattern_add_color_stop_rgb(body, 0.5, 0.09, 0.09, 0.095);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.03, 0.03, 0.035);
    circle(cr, cx, cy, R);
    cairo_set_source(cr, body);
    cairo_fill(cr);

    // Flutes around the skirt turn with the knob; each catches the light by its facing.
    const double a0 = angleDeg * M_PI / 180.0;
    for (int i = 0; i < g.flutes; ++i) {
        const double a = a0 + 2 * M_PI * i / g.flutes;
        const double half = M_PI / g.flutes * 0.5;
        // Flutes facing the light in the upper left catch the most of it.
        const double facing = M_SQRT1_2 * (std::cos(a) - std::sin(a));
        const double light = 0.5 + 0.5 * facing;
        cairo_move_to(cr, cx + std::sin(a - half) * (g.capRadius + 0.5), cy - std::cos(a - half) * (g.capRadius + 0.5));
        cairo_line_to(cr, cx + std::sin(a - half) * (R - 0.6), cy - std::cos(a - half) * (R - 0.6));
        cairo_line_to(cr, cx + std::sin(a + half) * (R - 0.6), cy - std::cos(a + half) * (R - 0.6));
        cairo_line_to(cr, cx + std::sin(a + half) * (g.capRadius + 0.5), cy - std::cos(a + half) * (g.capRadius + 0.5));
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0.55, 0.55, 0.57, 0.05 + 0.22 * light * light);
        cairo_fill(cr);
    }

    // Thin bright rim on the lit side of the skirt edge.
    cairo_set_line_width(cr, 1.0);
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx - R, cy - R, cx + R, cy + R);
    cairo_pattern_add_color_stop_rgba(rim, 0.0, 1, 1, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(rim, 0.5, 1, 1, 1, 0.04);
    cairo_pattern_add_color_stop_rgba(rim, 1.0, 0, 0, 0, 0.4);
    circle(cr, cx, cy, R - 0.5);
    cairo_set_source(cr, rim);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
    cairo_pattern_destroy(body);

    // Cap: a smooth dome with a broad highlight towards the light, seated in a thin brass collar.
    const double C = g.capRadius;
    circle(cr, cx, cy, C + 1.6);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.65);
    cairo_fill(cr);
    cairo_pattern_t* collar = cairo_pattern_create_linear(cx - C, cy - C, cx + C, cy + C);
    cairo_pattern_add_color_stop_rgb(collar, 0.0, palette::kBrassLight.r, palette::kBrassLight.g, palette::kBrassLight.b);
    cairo_pattern_add_color_stop_rgb(collar, 0.5, palette::kBrass.r * 0.7, palette::kBrass.g * 0.7, palette::kBrass.b * 0.7);
    cairo_pattern_add_color_stop_rgb(collar, 1.0, palette::kBrassDark.r * 0.6, palette::kBrassDark.g * 0.6, palette::kBrassDark.b * 0.6);
    cairo_set_line_width(cr, 1.0);
    circle(cr, cx, cy, C + 0.7);
    cairo_set_source(cr, collar);
    cairo_stroke(cr);
    cairo_pattern_destroy(collar);
    cairo_pattern_t* cap = cairo_pattern_create_radial(cx - C * 0.45, cy - C * 0.55, C * 0.05, cx, cy, C * 1.05);
    cairo_pattern_add_color_stop_rgb(cap, 0.0, 0.36, 0.36, 0.37);
    cairo_pattern_add_color_stop_rgb(cap, 0.45, 0.14, 0.14, 0.145);
    cairo_pattern_add_color_stop_rgb(cap, 1.0, 0.05, 0.05, 0.055);
    circle(cr, cx, cy, C);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);

    cairo_pattern_t* capRim = cairo_pattern_create_linear(cx - C, cy - C, cx + C, cy + C);
    cairo_pattern_add_color_stop_rgba(capRim, 0.0, 1, 1, 1, 0.30);
    cairo_pattern_add_color_stop_rgba(capRim, 0.55, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(capRim, 1.0, 1, 1, 1, 0.06);
    cairo_set_line_width(cr, 0.9);
    circle(cr, cx, cy, C - 0.45);
    cairo_set_source(cr, capRim);
    cairo_stroke(cr);
    cairo_pattern_destroy(capRim);

    // Pointer line inlaid in cream, with a dark groove so it reads at every angle.
    const double dx = pointerDx(angleDeg);
    const double dy = pointerDy(angleDeg);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, g.pointerWidth + 1.2);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_move_to(cr, cx + dx * g.pointerInner, cy + dy * g.pointerInner);
    cairo_line_to(cr, cx + dx * g.pointerOuter, cy + dy * g.pointerOuter);
    cairo_stroke(cr);
    cairo_set_line_width(cr, g.pointerWidth);
    setColour(cr, rgb(240, 232, 212));
    cairo_move_to(cr, cx + dx * g.pointerInner, cy + dy * g.pointerInner);
    cairo_line_to(cr, cx + dx * g.pointerOuter, cy + dy * g.pointerOuter);
    cairo_stroke(cr);

    cairo_restore(cr);
}

Image renderKnobStrip(const Image& panel, const Rect& place, const KnobGeometry& g, int frames)
{
    Image strip(place.width(), place.height() * frames);
    const Image base = panel.crop(place);
    for (int k = 0; k < frames; ++k) {
        strip.paste(base, 0, k * place.height());
        Pen pen(strip);
        // Keep the shadow from spilling into the neighbouring frames.
        cairo_rectangle(pen, 0, k * place.height(), place.width(), place.height());
        cairo_clip(pen);
        drawKnob(pen, place.width() / 2.0, k * place.height() + place.height() / 2.0, g, knobAngle(k, frames));
    }
    return strip;
}

} // namespace artwork
