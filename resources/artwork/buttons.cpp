#include "buttons.h"

namespace artwork {

void keyBody(cairo_t* cr, double x, double y, double w, double h, KeyState state)
{
    roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1, 3.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_fill(cr);

    double top = 0.31, bottom = 0.12;
    if (state == KeyState::Hover) {
        top = 0.38;
        bottom = 0.16;
    } else if (state == KeyState::Pressed) {
        top = 0.08;
        bottom = 0.17;
    } else if (state == KeyState::Inactive) {
        top = 0.19;
        bottom = 0.13;
    }
    cairo_pattern_t* cap = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(cap, 0.0, top, top, top * 1.02);
    cairo_pattern_add_color_stop_rgb(cap, 1.0, bottom, bottom, bottom * 1.02);
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 2.2);
    cairo_set_source(cr, cap);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);

    if (state != KeyState::Pressed) {
        // Lit top lip of the cap.
        cairo_set_line_width(cr, 0.8);
        cairo_move_to(cr, x + 2.2, y + 1.1);
        cairo_line_to(cr, x + w - 2.2, y + 1.1);
        cairo_set_source_rgba(cr, 1, 1, 1, state == KeyState::Inactive ? 0.08 : 0.22);
        cairo_stroke(cr);
    }
}

Colour glyphColour(KeyState state)
{
    switch (state) {
    case KeyState::Hover: return palette::kLamp;
    case KeyState::Pressed: return mix(palette::kLamp, palette::kInk, 0.35);
    case KeyState::Inactive: return rgb(96, 92, 86);
    case KeyState::Normal: break;
    }
    return palette::kInk;
}

namespace {

void arrowHead(cairo_t* cr, double tipX, double tipY, double dx, double dy, double length, double halfWidth)
{
    const double bx = tipX - dx * length;
    const double by = tipY - dy * length;
    cairo_move_to(cr, tipX, tipY);
    cairo_line_to(cr, bx - dy * halfWidth, by + dx * halfWidth);
    cairo_line_to(cr, bx + dy * halfWidth, by - dx * halfWidth);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Icons sit on whole pixels where they can, so that 1 and 2 pixel strokes stay sharp;
// only the arrow heads' slopes are left to antialiasing.
void drawIcon(cairo_t* cr, ButtonIcon icon, double ox, double oy)
{
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    switch (icon) {
    case ButtonIcon::Save:
    case ButtonIcon::Load:
        // A tray with an arrow going into it (save) or coming out of it (load).
        cairo_move_to(cr, ox + 2.5, oy + 8.0);
        cairo_line_to(cr, ox + 2.5, oy + 10.5);
        cairo_line_to(cr, ox + 9.5, oy + 10.5);
        cairo_line_to(cr, ox + 9.5, oy + 8.0);
        cairo_stroke(cr);
        if (icon == ButtonIcon::Save) {
            cairo_rectangle(cr, ox + 5, oy + 2, 2, 4);
            cairo_fill(cr);
            arrowHead(cr, ox + 6, oy + 9.2, 0, 1, 3.6, 3.1);
        } else {
            cairo_rectangle(cr, ox + 5, oy + 5, 2, 4);
            cairo_fill(cr);
            arrowHead(cr, ox + 6, oy + 1.8, 0, -1, 3.6, 3.1);
        }
        break;
    case ButtonIcon::Store:
    case ButtonIcon::Recall: {
        // Store: an arrow running into a bar (the memory slot); recall: out of it.
        const bool store = icon == ButtonIcon::Store;
        const double barX = store ? ox + 9.5 : ox + 2.5;
        cairo_move_to(cr, barX, oy + 3.5);
        cairo_line_to(cr, barX, oy + 10.5);
        cairo_stroke(cr);
        const double shaftLeft = store ? ox + 2 : ox + 4;
        cairo_rectangle(cr, shaftLeft, oy + 6, 3, 2);
        cairo_fill(cr);
        arrowHead(cr, shaftLeft + 6.4, oy + 7, 1, 0, 3.6, 3.1);
        break;
    }
    }
}

// A strip of `frames` pictures of `place`, each over the panel's own pixels;
// draw(cr, k, oy) draws frame k, clipped to it, whose top is at oy.
template <typename Draw>
Image framesOverPanel(const Image& panel, const Rect& place, int frames, Draw draw)
{
    const int w = place.width();
    const int h = place.height();
    Image strip(w, h * frames);
    const Image base = panel.crop(place);
    for (int k = 0; k < frames; ++k) {
        strip.paste(base, 0, k * h);
        Pen pen(strip);
        cairo_t* cr = pen;
        cairo_rectangle(cr, 0, k * h, w, h);
        cairo_clip(cr);
        draw(cr, k, static_cast<double>(k * h));
    }
    return strip;
}

} // namespace

void lampGlow(cairo_t* cr, double x, double y, double radius)
{
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(g, 0.0, palette::kLamp.r, palette::kLamp.g, palette::kLamp.b, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1.0, palette::kLamp.r, palette::kLamp.g, palette::kLamp.b, 0.0);
    circle(cr, x, y, radius);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

Image renderSmallButton(const Image& panel, const Rect& place, ButtonIcon icon)
{
    const int w = place.width();
    const int h = place.height();
    const KeyState states[] = {KeyState::Normal, KeyState::Hover, KeyState::Pressed, KeyState::Inactive};
    return framesOverPanel(panel, place, 4, [&](cairo_t* cr, int k, double oy) {
        keyBody(cr, 0.5, oy + 0.5, w - 1, h - 1, states[k]);
        if (states[k] == KeyState::Hover)
            lampGlow(cr, w / 2.0, oy + h / 2.0, 6.5);
        setColour(cr, glyphColour(states[k]));
        drawIcon(cr, icon, 0, oy + (states[k] == KeyState::Pressed ? 1.0 : 0.0));
    });
}

Image renderRocker(const Image& panel, const Rect& place)
{
    const int w = place.width();
    const int h = place.height();
    Image strip(w, h * 5);
    const Image base = panel.crop(place);
    for (int k = 0; k < 5; ++k) {
        strip.paste(base, 0, k * h);
        Pen pen(strip);
        cairo_t* cr = pen;
        cairo_rectangle(cr, 0, k * h, w, h);
        cairo_clip(cr);
        const double oy = k * h;
        const KeyState left = k == 1 ? KeyState::Hover : k == 3 ? KeyState::Pressed : KeyState::Normal;
        const KeyState right = k == 2 ? KeyState::Hover : k == 4 ? KeyState::Pressed : KeyState::Normal;

        keyBody(cr, 0.5, oy + 0.5, w - 1, h - 1, KeyState::Normal);
        // Each half can light or sink on its own; draw the halves over the common body.
        for (int side = 0; side < 2; ++side) {
            const KeyState s = side == 0 ? left : right;
            const double x = side == 0 ? 1.0 : w / 2.0;
            const double halfW = w / 2.0 - 1.0;
            if (s != KeyState::Normal) {
                cairo_save(cr);
                cairo_rectangle(cr, x, oy, halfW, h);
                cairo_clip(cr);
                keyBody(cr, 0.5, oy + 0.5, w - 1, h - 1, s);
                if (s == KeyState::Hover)
                    lampGlow(cr, x + halfW / 2, oy + h / 2.0, 7.5);
                cairo_restore(cr);
            }
            const double dir = side == 0 ? -1.0 : 1.0;
            const double cx = w / 2.0 + dir * 7.5;
            const double cy = oy + h / 2.0 + (s == KeyState::Pressed ? 1.0 : 0.0);
            setColour(cr, glyphColour(s));
            arrowHead(cr, cx + dir * 2.6, cy, dir, 0, 5.0, 3.1);
        }
        // Parting line between the two halves.
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, w / 2.0, oy + 2.0);
        cairo_line_to(cr, w / 2.0, oy + h - 2.0);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
        cairo_stroke(cr);
    }
    return strip;
}

Image renderStripTab(const Image& panel, const Rect& place)
{
    const int w = place.width();
    const int h = place.height();
    const Font small{"Liberation Sans", 6.4, true, false, 0.4};
    // The key sits low in the rectangle, its word above it like the legends over the other keys.
    const double keyW = 22.0;
    const double keyH = 12.0;
    const double keyX = (w - keyW) / 2.0;
    const double keyY = h - keyH - 1.5;
    return framesOverPanel(panel, place, 2, [&](cairo_t* cr, int k, double oy) {
        const bool open = k == 1;
        printLegend(cr, open ? "LESS" : "MORE", w / 2.0, oy + keyY - 3.0, small, Align::Centre, palette::kInkDim);
        keyBody(cr, keyX, oy + keyY, keyW, keyH, open ? KeyState::Pressed : KeyState::Normal);
        const double cx = w / 2.0;
        const double cy = oy + keyY + keyH / 2.0 + (open ? 0.5 : 0.0);
        if (open)
            lampGlow(cr, cx, cy, 7.0);
        // A chevron pointing the way the strip will move.
        const double dir = open ? -1.0 : 1.0;
        cairo_set_line_width(cr, 1.5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, cx - 3.5, cy - dir * 1.75);
        cairo_line_to(cr, cx, cy + dir * 1.75);
        cairo_line_to(cr, cx + 3.5, cy - dir * 1.75);
        setColour(cr, open ? palette::kLamp : palette::kInk);
        cairo_stroke(cr);
    });
}

} // namespace artwork
