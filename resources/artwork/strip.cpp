#include "strip.h"

#include "buttons.h"
#include "knobs.h"
#include "panel.h"

namespace artwork {
namespace {

constexpr int kWidth = layout::kWindowWidth;
constexpr int kHeight = layout::kStripHeight;

// The plate: the metal of the panel, brushed and shaded as if the panel ran on below its
// bottom edge, so that the two read as one piece of metal.
Image plate()
{
    Image tall(kWidth, layout::kOpenWindowHeight);
    brushedMetal(tall, palette::kPanel, 5.0, 0x4B56424E5354ull);
    Image out = tall.crop(Rect{0, layout::kStripTop, kWidth, layout::kOpenWindowHeight});
    Pen pen(out);
    cairo_translate(pen, 0, -layout::kStripTop);
    paintVignette(pen, kWidth, layout::kWindowHeight);
    return out;
}

void drawEdgesAndScrews(cairo_t* cr)
{
    const double w = kWidth;
    const double top = layout::kStripTop;
    const double bottom = layout::kOpenWindowHeight;
    cairo_save(cr);
    cairo_set_line_width(cr, 1.0);
    // The top edge catches the light like the top of the panel; the panel's own dark bottom
    // edge right above it makes the seam a small bevel.
    cairo_move_to(cr, 0.5, bottom);
    cairo_line_to(cr, 0.5, top + 0.5);
    cairo_line_to(cr, w, top + 0.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
    cairo_stroke(cr);
    cairo_move_to(cr, w - 0.5, top);
    cairo_line_to(cr, w - 0.5, bottom - 0.5);
    cairo_line_to(cr, 0, bottom - 0.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_stroke(cr);
    drawScrew(cr, 11, bottom - 11, 4.6, 52);
    drawScrew(cr, w - 11, bottom - 11, 4.6, 26);
    cairo_restore(cr);
}

void drawMixScale(cairo_t* cr)
{
    const Rect m = layout::kMixKnob;
    drawKnobScale(cr, m.centreX(), m.centreY(), mixKnob(), linearScale(0, 100, 10, 50, 50));
    printLegend(cr, "Mix", m.centreX(), m.bottom + 3.0, Font{"Liberation Sans", 8.5, true, false, 0.5},
                Align::Centre, palette::kInk);
}

// The dark slot a selector sits in, with its caption above it.
void drawSelectorSeat(cairo_t* cr, const Rect& r, const char* caption)
{
    roundedRect(cr, r.left - 1, r.top - 1, r.width() + 2, r.height() + 2, 3.5);
    cairo_set_source_rgb(cr, 0.06, 0.06, 0.06);
    cairo_fill(cr);
    const Font small{"Liberation Sans", 6.4, true, false, 0.4};
    printLegend(cr, caption, r.centreX(), r.top - 4.0, small, Align::Centre, palette::kInkDim);
}

} // namespace

Image renderStrip()
{
    Image strip = plate();
    Pen pen(strip);
    cairo_translate(pen, 0, -layout::kStripTop);
    drawEdgesAndScrews(pen);
    drawMixScale(pen);
    drawSelectorSeat(pen, layout::kOversampling, "OVERSAMPLING");
    drawSelectorSeat(pen, layout::kSidechainFilter, "SIDECHAIN FILTER (Hz)");
    drawSelectorSeat(pen, layout::kKeySelector, "KEY");
    return strip;
}

Image renderSelector(const Image& strip, const Rect& place, const std::vector<std::string>& cells)
{
    const int w = place.width();
    const int h = place.height();
    const int count = static_cast<int>(cells.size());
    const double cellW = static_cast<double>(w) / count;
    const Font font{"Liberation Sans", 8.5, true};
    Image frames(w, h * count);
    const Image base = strip.crop(onStrip(place));
    for (int k = 0; k < count; ++k) {
        frames.paste(base, 0, k * h);
        Pen pen(frames);
        cairo_t* cr = pen;
        const double oy = k * h;
        cairo_rectangle(cr, 0, oy, w, h);
        cairo_clip(cr);
        for (int i = 0; i < count; ++i) {
            const bool lit = i == k;
            const double x = i * cellW;
            keyBody(cr, x + 0.5, oy + 0.5, cellW - 1, h - 1, lit ? KeyState::Pressed : KeyState::Normal);
            const double cx = x + cellW / 2.0;
            const double cy = oy + h / 2.0 + (lit ? 0.5 : 0.0);
            if (lit) {
                cairo_save(cr);
                cairo_rectangle(cr, x + 1, oy + 1, cellW - 2, h - 2);
                cairo_clip(cr);
                lampGlow(cr, cx, cy, cellW * 0.45);
                cairo_restore(cr);
            }
            drawTextCentred(cr, cells[static_cast<std::size_t>(i)], cx, cy, font,
                            lit ? palette::kLamp : palette::kInkDim);
        }
    }
    return frames;
}

} // namespace artwork
