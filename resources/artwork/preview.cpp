#include "preview.h"

#include "meter.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

Image frameOf(const Image& strip, int frameHeight, int frame)
{
    return strip.crop(Rect{0, frame * frameHeight, strip.width(), (frame + 1) * frameHeight});
}

void pasteFrame(Image& target, const Bitmaps& bitmaps, int id, const Rect& place, int frame)
{
    target.paste(frameOf(bitmaps.at(id), place.height(), frame), place.left, place.top);
}

} // namespace

Image composeMockup(const Bitmaps& bitmaps, const MockupState& s)
{
    Image editor = bitmaps.at(kBackground).crop(Rect{0, 0, layout::kWindowWidth, layout::kWindowHeight});
    pasteFrame(editor, bitmaps, kRatioKnob, layout::kRatioKnob, s.ratioFrame);
    pasteFrame(editor, bitmaps, kProcessSwitchStrip, layout::kProcessSwitch, s.switchFrame);
    editor.paste(bitmaps.at(kMeterFace), layout::kMeterFace.left, layout::kMeterFace.top);
    pasteFrame(editor, bitmaps, kTimeKnob, layout::kTimeKnob, s.timeFrame);
    pasteFrame(editor, bitmaps, kCompressionKnob, layout::kCompressionKnob, s.compressionFrame);
    pasteFrame(editor, bitmaps, kOutputKnob, layout::kOutputKnob, s.outputFrame);

    {
        // The needle as the editor draws it, then the overlay hides what lies below the face.
        Pen pen(editor);
        const double t = meterAngleDeg(s.reductionDb) * M_PI / 180.0;
        cairo_set_line_width(pen, 1.6);
        cairo_set_source_rgb(pen, 170 / 255.0, 165 / 255.0, 160 / 255.0);
        cairo_move_to(pen, layout::kMeterPivotX + 3 * std::cos(t), layout::kMeterPivotY - 3 * std::sin(t));
        cairo_line_to(pen, layout::kMeterPivotX + 86 * std::cos(t), layout::kMeterPivotY - 86 * std::sin(t));
        cairo_stroke(pen);
    }
    editor.paste(bitmaps.at(kMeterOverlay), layout::kMeterOverlay.left, layout::kMeterOverlay.top);

    const std::pair<int, Rect> buttons[] = {
        {kSavePreset, layout::kSavePreset}, {kLoadPreset, layout::kLoadPreset}, {kSaveBank, layout::kSaveBank},
        {kLoadBank, layout::kLoadBank},     {kStoreA, layout::kStoreA},         {kStoreB, layout::kStoreB},
        {kRecallA, layout::kRecallA},       {kRecallB, layout::kRecallB},
    };
    for (const auto& [id, place] : buttons)
        pasteFrame(editor, bitmaps, id, place, id == s.hoveredButton ? 1 : 0);
    pasteFrame(editor, bitmaps, kRocker, layout::kRocker, s.rockerFrame);
    pasteFrame(editor, bitmaps, kStripTab, layout::kStripTab, s.stripOpen ? 1 : 0);

    Pen pen(editor);
    const Rect f = layout::kNameField;
    drawTextCentred(pen, s.presetName, f.centreX(), f.centreY(), Font{"Liberation Sans", 11.0}, rgb(76, 76, 72));
    if (s.about) {
        editor.paste(bitmaps.at(kAbout), 0, 0);
        const Rect v = layout::kAboutVersion;
        drawText(pen, "v. 1.1.0", v.left, v.bottom - 2, Font{"Liberation Sans", 12.0}, Align::Left,
                 rgb(200, 200, 200));
    }
    return editor;
}

Image composeOpenMockup(const Bitmaps& bitmaps, const MockupState& state)
{
    MockupState s = state;
    s.stripOpen = true;
    Image window(layout::kWindowWidth, layout::kOpenWindowHeight);
    window.paste(composeMockup(bitmaps, s), 0, 0);
    window.paste(bitmaps.at(kStrip), 0, layout::kStripTop);
    pasteFrame(window, bitmaps, kMixKnob, layout::kMixKnob, s.mixFrame);
    pasteFrame(window, bitmaps, kOversampling, layout::kOversampling, s.oversamplingFrame);
    pasteFrame(window, bitmaps, kSidechainFilter, layout::kSidechainFilter, s.sidechainFrame);
    pasteFrame(window, bitmaps, kKeySelector, layout::kKeySelector, s.keyFrame);
    return window;
}

Image enlarged(const Image& image, int factor)
{
    Image out(image.width() * factor, image.height() * factor);
    cairo_surface_flush(image.surface());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, image.pixel(x / factor, y / factor));
    cairo_surface_mark_dirty(out.surface());
    return out;
}

Image contactSheet(const Bitmaps& bitmaps)
{
    struct Entry {
        int id;
        int frameHeight;
    };
    const Entry entries[] = {
        {kBackground, 309},   {kAbout, 276},      {kMeterFace, 43},   {kMeterOverlay, 46},
        {kProcessSwitchStrip, 78}, {kRatioKnob, 70}, {kTimeKnob, 114}, {kCompressionKnob, 114},
        {kOutputKnob, 114},   {kSavePreset, 14},  {kLoadPreset, 14},  {kSaveBank, 14},
        {kLoadBank, 14},      {kStoreA, 14},      {kStoreB, 14},      {kRecallA, 14},
        {kRecallB, 14},       {kRocker, 14},      {kStripTab, 22},    {kStrip, 80},
        {kOversampling, 20},  {kSidechainFilter, 20}, {kKeySelector, 20}, {kMixKnob, 64},
    };
    constexpr int kSheetWidth = 1300;
    constexpr int kGap = 6;

    // First pass measures, second pass pastes.
    auto layoutPass = [&](Image* sheet) {
        int x = kGap, y = kGap, rowHeight = 0;
        for (const Entry& e : entries) {
            const Image& strip = bitmaps.at(e.id);
            const int frames = strip.height() / e.frameHeight;
            for (int k = 0; k < frames; ++k) {
                if (x + strip.width() + kGap > kSheetWidth) {
                    x = kGap;
                    y += rowHeight + kGap;
                    rowHeight = 0;
                }
                if (sheet != nullptr)
                    sheet->paste(frameOf(strip, e.frameHeight, k), x, y);
                x += strip.width() + kGap;
                rowHeight = std::max(rowHeight, e.frameHeight);
            }
            x += kGap * 3;
        }
        return y + rowHeight + kGap;
    };
    Image sheet(kSheetWidth, layoutPass(nullptr));
    {
        Pen pen(sheet);
        cairo_set_source_rgb(pen, 0.5, 0.5, 0.52);
        cairo_paint(pen);
    }
    layoutPass(&sheet);
    return sheet;
}

Image buttonSheet(const Bitmaps& bitmaps)
{
    const int ids[] = {kSavePreset, kLoadPreset, kSaveBank, kLoadBank, kStoreA, kStoreB, kRecallA, kRecallB, kRocker};
    Image sheet(4 + 5 * 35, 4 + 9 * 18);
    {
        Pen pen(sheet);
        cairo_set_source_rgb(pen, 0.5, 0.5, 0.52);
        cairo_paint(pen);
    }
    int y = 2;
    for (int id : ids) {
        const Image& strip = bitmaps.at(id);
        const int frames = strip.height() / 14;
        for (int k = 0; k < frames; ++k)
            sheet.paste(frameOf(strip, 14, k), 2 + k * 35, y);
        y += 18;
    }
    return sheet;
}

bool writePng(const Image& image, const std::string& path)
{
    cairo_surface_flush(image.surface());
    return cairo_surface_write_to_png(image.surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace artwork
