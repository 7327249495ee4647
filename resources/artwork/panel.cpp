#include "panel.h"

#include "knobs.h"
#include "meter.h"
#include "processSwitch.h"

namespace artwork {
namespace {

constexpr int kStripTop = 265; // the darker preset strip starts below this engraved line

void drawFrameAndScrews(cairo_t* cr)
{
    const double w = layout::kWindowWidth;
    const double h = layout::kWindowHeight;
    cairo_save(cr);
    // Darker, recessed preset strip along the bottom.
    cairo_rectangle(cr, 0, kStripTop + 1, w, h - kStripTop - 1);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.30);
    cairo_fill(cr);
    engravedLine(cr, 0, kStripTop + 0.5, w, kStripTop + 0.5);

    // Bevelled edge of the front plate.
    cairo_set_line_width(cr, 1.0);
    cairo_move_to(cr, 0.5, h);
    cairo_line_to(cr, 0.5, 0.5);
    cairo_line_to(cr, w, 0.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
    cairo_stroke(cr);
    cairo_move_to(cr, w - 0.5, 0);
    cairo_line_to(cr, w - 0.5, h - 0.5);
    cairo_line_to(cr, 0, h - 0.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_stroke(cr);

    drawScrew(cr, 11, 11, 4.6, 18);
    drawScrew(cr, w - 11, 11, 4.6, 61);
    drawScrew(cr, 11, h - 11, 4.6, 37);
    drawScrew(cr, w - 11, h - 11, 4.6, 8);
    cairo_restore(cr);
}

void drawTitle(cairo_t* cr)
{
    const Rect t = layout::kTitle;
    const Font title{"Liberation Sans", 15.5, true, false, 2.6};
    const Font sub{"Liberation Sans", 7.2, true, false, 3.0};
    const double baseline = t.top + 15.5;
    const double wKorvane = textWidth(cr, "KORVANE", title);
    const double wBrassel = textWidth(cr, "BRASSEL", title);
    const double gap = 9.0;
    const double left = t.centreX() - (wKorvane + gap + wBrassel) / 2;
    printLegend(cr, "KORVANE", left, baseline, title, Align::Left, palette::kInk);
    printLegend(cr, "BRASSEL", left + wKorvane + gap, baseline, title, Align::Left, palette::kBrass);

    // Small subtitle between two hairlines that run out to the edges of the title.
    const double subBaseline = t.bottom - 1.5;
    const double wSub = textWidth(cr, "OPTO COMPRESSOR", sub);
    printLegend(cr, "OPTO COMPRESSOR", t.centreX() + 1.5, subBaseline, sub, Align::Centre, palette::kInkDim);
    const double lineY = subBaseline - 2.5;
    cairo_save(cr);
    cairo_set_line_width(cr, 0.8);
    setColour(cr, palette::kBrass, 0.7);
    cairo_move_to(cr, left, lineY);
    cairo_line_to(cr, t.centreX() - wSub / 2 - 6, lineY);
    cairo_move_to(cr, t.centreX() + wSub / 2 + 6, lineY);
    cairo_line_to(cr, left + wKorvane + gap + wBrassel - 2.6, lineY);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void drawControlSection(cairo_t* cr)
{
    const Font label{"Liberation Sans", 11.0, true, false, 0.6};

    const Rect ratio = layout::kRatioKnob;
    drawKnobScale(cr, ratio.centreX(), ratio.centreY(), smallKnob(), ratioScale());
    printLegend(cr, "Ratio", ratio.centreX(), ratio.bottom + 1.0, Font{"Liberation Sans", 8.5, true, false, 0.5},
                Align::Centre, palette::kInk);

    drawMeterWindow(cr);
    drawProcessLegends(cr);

    struct Big {
        Rect place;
        const char* name;
        std::vector<ScaleMark> marks;
    };
    const Big knobs[] = {
        {layout::kTimeKnob, "Time", linearScale(0, 10, 0.5, 1, 1)},
        {layout::kCompressionKnob, "Compression", linearScale(0, 10, 0.5, 1, 1)},
        {layout::kOutputKnob, "Output", linearScale(0, 30, 1, 5, 5)},
    };
    for (const Big& k : knobs) {
        drawKnobScale(cr, k.place.centreX(), k.place.centreY(), largeKnob(), k.marks);
        printLegend(cr, k.name, k.place.centreX(), k.place.top - 5.0, label, Align::Centre, palette::kInk);
    }
}

void drawPresetStrip(cairo_t* cr)
{
    const Font small{"Liberation Sans", 6.4, true, false, 0.4};
    const Font legend{"Liberation Sans", 7.4, true, false, 1.4};
    const double above = layout::kSavePreset.top - 3.0;

    printLegend(cr, "SAVE", layout::kSavePreset.centreX(), above, small, Align::Centre, palette::kInkDim);
    printLegend(cr, "LOAD", layout::kLoadPreset.centreX(), above, small, Align::Centre, palette::kInkDim);
    const double mid = (layout::kSavePreset.right + layout::kLoadPreset.left) / 2.0;
    printLegend(cr, "PRESET", mid + 0.7, layout::kSavePreset.bottom - 3.5, legend, Align::Centre, palette::kInk);
    printLegend(cr, "BANK", mid + 0.7, layout::kSaveBank.bottom - 3.5, legend, Align::Centre, palette::kInk);

    // Recessed slot holding the name field and the menu marker.
    const Rect f = layout::kNameField;
    const Rect m = layout::kMenuMarker;
    roundedRect(cr, f.left - 2.5, f.top - 2.5, m.right - f.left + 5, f.height() + 5, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
    cairo_fill(cr);
    roundedRect(cr, f.left - 2.5, f.top - 3.0, m.right - f.left + 5, f.height() + 4.5, 3);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.06);
    cairo_fill(cr);
    cairo_rectangle(cr, f.left, f.top, f.width(), f.height());
    cairo_set_source_rgb(cr, layout::kNameFieldRgb[0] / 255.0, layout::kNameFieldRgb[1] / 255.0,
                         layout::kNameFieldRgb[2] / 255.0);
    cairo_fill(cr);
    cairo_rectangle(cr, m.left, m.top, m.width(), m.height());
    cairo_set_source_rgb(cr, 0.16, 0.16, 0.16);
    cairo_fill(cr);
    const double mx = m.centreX();
    const double my = m.centreY();
    cairo_move_to(cr, mx - 3.2, my - 1.6);
    cairo_line_to(cr, mx + 3.2, my - 1.6);
    cairo_line_to(cr, mx, my + 2.0);
    cairo_close_path(cr);
    setColour(cr, palette::kInk);
    cairo_fill(cr);

    // Well the rocker sits in.
    const Rect r = layout::kRocker;
    roundedRect(cr, r.left - 1, r.top - 1, r.width() + 2, r.height() + 2, 3.5);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.06);
    cairo_fill(cr);

    // Memory section: A and B between the store and recall columns.
    const double letterX = (layout::kStoreA.right + layout::kRecallA.left) / 2.0;
    const Font letters{"Liberation Sans", 9.5, true};
    printLegend(cr, "A", letterX, layout::kStoreA.bottom - 3.0, letters, Align::Centre, palette::kBrass);
    printLegend(cr, "B", letterX, layout::kStoreB.bottom - 3.0, letters, Align::Centre, palette::kBrass);
    // The two words would run together centred over their columns, so they part at the letters.
    printLegend(cr, "STORE", layout::kStoreA.right + 1.5, above, small, Align::Right, palette::kInkDim);
    printLegend(cr, "RECALL", layout::kRecallA.left - 1.5, above, small, Align::Left, palette::kInkDim);
}

} // namespace

void paintVignette(cairo_t* cr, double w, double h)
{
    cairo_pattern_t* vignette = cairo_pattern_create_radial(w * 0.5, h * 0.38, 60, w * 0.5, h * 0.45, w * 0.62);
    cairo_pattern_add_color_stop_rgba(vignette, 0.0, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(vignette, 1.0, 0, 0, 0, 0.28);
    cairo_set_source(cr, vignette);
    cairo_paint(cr);
    cairo_pattern_destroy(vignette);
}

Image renderPanel()
{
    Image panel(layout::kWindowWidth, layout::kWindowHeight);
    brushedMetal(panel, palette::kPanel, 5.0, 0x4B56424Eu);
    Pen pen(panel);
    paintVignette(pen, layout::kWindowWidth, layout::kWindowHeight);
    drawFrameAndScrews(pen);
    drawTitle(pen);
    drawControlSection(pen);
    drawPresetStrip(pen);
    return panel;
}

} // namespace artwork
