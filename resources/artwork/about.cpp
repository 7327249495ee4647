#include "about.h"

#include <cmath>

namespace artwork {
namespace {

constexpr int kWidth = layout::kWindowWidth;
constexpr int kHeight = layout::kAboutHeight;

// A little drawing of what gives the unit its sound: a lamp shining onto a photocell.
void drawOptoCell(cairo_t* cr, double cx, double cy)
{
    const double lampX = cx - 52;
    const double cellX = cx + 52;
    cairo_save(cr);

    // The lamp's warm glow.
    cairo_pattern_t* glow = cairo_pattern_create_radial(lampX, cy, 2, lampX, cy, 46);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, 1.0, 0.72, 0.35, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 0.35, 1.0, 0.62, 0.25, 0.18);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, 1.0, 0.55, 0.2, 0.0);
    circle(cr, lampX, cy, 46);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    cairo_set_line_width(cr, 1.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, palette::kInk);
    circle(cr, lampX, cy, 13);
    cairo_stroke(cr);
    // Filament.
    cairo_move_to(cr, lampX - 13, cy);
    cairo_line_to(cr, lampX - 7, cy);
    for (int i = 0; i < 4; ++i)
        cairo_curve_to(cr, lampX - 7 + i * 3.5, cy - 6, lampX - 7 + i * 3.5 + 3.5, cy - 6, lampX - 7 + (i + 1) * 3.5, cy);
    cairo_line_to(cr, lampX + 13, cy);
    cairo_stroke(cr);

    // Light falling on the cell.
    for (int i = -1; i <= 1; i += 2) {
        const double y = cy + i * 7.0;
        cairo_move_to(cr, lampX + 22, y);
        cairo_line_to(cr, cellX - 24, y);
        cairo_stroke(cr);
        cairo_move_to(cr, cellX - 22, y);
        cairo_line_to(cr, cellX - 29, y - 3.5);
        cairo_line_to(cr, cellX - 29, y + 3.5);
        cairo_close_path(cr);
        cairo_fill(cr);
    }

    // Photoresistor: a round cell with its serpentine track between two combs.
    circle(cr, cellX, cy, 15);
    cairo_stroke(cr);
    cairo_save(cr);
    circle(cr, cellX, cy, 11.5);
    cairo_clip(cr);
    cairo_set_line_width(cr, 1.3);
    setColour(cr, palette::kBrass);
    cairo_move_to(cr, cellX - 12, cy - 10);
    for (int i = 0; i < 6; ++i) {
        const double y = cy - 10 + i * 4.0;
        const double far = (i % 2 == 0) ? cellX + 7 : cellX - 7;
        const double near = (i % 2 == 0) ? cellX - 12 : cellX + 12;
        cairo_line_to(cr, near, y);
        cairo_line_to(cr, far, y);
        cairo_line_to(cr, far, y + 4.0);
    }
    cairo_stroke(cr);
    cairo_restore(cr);

    // Leads down to the engraved rule.
    setColour(cr, palette::kInkDim);
    cairo_set_line_width(cr, 1.0);
    // Each lead leaves its body where the vertical through it meets the body's outline.
    struct Lead {
        double x, bodyX, bodyRadius;
    };
    for (const Lead& l : {Lead{lampX - 6.0, lampX, 13.0}, Lead{lampX + 6.0, lampX, 13.0},
                          Lead{cellX - 8.0, cellX, 15.0}, Lead{cellX + 8.0, cellX, 15.0}}) {
        const double x = l.x;
        const double top = cy + std::sqrt(l.bodyRadius * l.bodyRadius - (x - l.bodyX) * (x - l.bodyX));
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x, cy + 28);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace

Image renderAbout()
{
    Image about(kWidth, kHeight);
    brushedMetal(about, palette::kPanelDark, 4.0, 0x41424F5554ull);
    Pen pen(about);
    cairo_t* cr = pen;

    // The screws sit where they sit on the panel, so nothing jumps when the picture opens.
    drawScrew(cr, 11, 11, 4.6, 18);
    drawScrew(cr, kWidth - 11, 11, 4.6, 61);

    const Font title{"Liberation Sans", 26.0, true, false, 3.2};
    const double wKorvane = textWidth(cr, "KORVANE", title);
    const double wBrassel = textWidth(cr, "BRASSEL", title);
    const double gap = 14.0;
    // The title ends where the version line ends, so the version sits under its last letters.
    const double right = layout::kAboutVersion.right + 3.2;
    const double left = right - (wKorvane + gap + wBrassel);
    const double baseline = 60.0;
    printLegend(cr, "KORVANE", left, baseline, title, Align::Left, palette::kInk);
    printLegend(cr, "BRASSEL", left + wKorvane + gap, baseline, title, Align::Left, palette::kBrass);
    printLegend(cr, "opto compressor", left + 1, 80.0, Font{"Liberation Serif", 14.0, false, true, 0.4},
                Align::Left, palette::kInk);

    engravedLine(cr, 30, 98.5, kWidth - 30, 98.5);
    drawOptoCell(cr, kWidth / 2.0, 150);
    printLegend(cr, "lamp", kWidth / 2.0 - 52, 198, Font{"Liberation Serif", 10.0, false, true}, Align::Centre,
                palette::kInkDim);
    printLegend(cr, "photocell", kWidth / 2.0 + 52, 198, Font{"Liberation Serif", 10.0, false, true},
                Align::Centre, palette::kInkDim);
    engravedLine(cr, 30, 212.5, kWidth - 30, 212.5);

    printLegend(cr, "Designed and built by Korvane Audio Works", kWidth / 2.0, 236,
                Font{"Liberation Sans", 10.5, false, false, 0.3}, Align::Centre, palette::kInk);
    printLegend(cr, "korvane.com", kWidth / 2.0, 256, Font{"Liberation Sans", 11.0, true, false, 1.2},
                Align::Centre, palette::kBrass);

    // Lower edge of the picture, so it reads as a lid over the panel.
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 0, kHeight - 1.5);
    cairo_line_to(cr, kWidth, kHeight - 1.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, kHeight - 0.5);
    cairo_line_to(cr, kWidth, kHeight - 0.5);
    cairo_set_source_rgb(cr, 0.02, 0.02, 0.02);
    cairo_stroke(cr);
    return about;
}

} // namespace artwork
