// GDI drawing through the toolkit's draw contexts: the bitmap resources,
// rectangles, lines, clipping, text and fonts, and the bitmap copies with
// and without the system's bitmap library.
#include <cstdlib>
#include <cstring>

#include "guiHarness.h"
#include "platform/scaledBitmap.h"
#include "platform/windows/bitmapLibrary.h"
#include "platform/windows/gdiDevice.h"
#include "resources/resample.h"

using namespace wingui;
using namespace gui;

namespace {

constexpr CColor kMagenta{255, 0, 255, 255};

HDC dcOf(CDrawContext& context) {
    return static_cast<platform::windows::GdiDevice*>(context.getDevice())->dc();
}

std::uint32_t pixel(CDrawContext& context, int x, int y) {
    const COLORREF c = GetPixel(dcOf(context), x, y);
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

std::uint32_t packed(CColor c) {
    return (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue;
}

LOGFONTA selectedFont(CDrawContext& context) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    GetObjectA(GetCurrentObject(dcOf(context), OBJ_FONT), sizeof font, &font);
    return font;
}

// Pixels of `colour` inside and outside a rectangle of the context.
struct Count {
    int inside = 0;
    int outside = 0;
};

Count countColour(CDrawContext& context, int w, int h, const RECT& area, std::uint32_t colour) {
    Count n;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (pixel(context, x, y) == colour) {
                const bool in =
                    x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                (in ? n.inside : n.outside)++;
            }
    return n;
}

}  // namespace

using GdiDrawing = GuiTest;

TEST_F(GdiDrawing, BitmapResourcesLoadWithTheirSizes) {
    struct Size {
        int id, width, height;
    };
    const Size sizes[] = {{12128, 400, 309}, {12129, 106, 234}, {12151, 100, 43},
                          {12152, 113, 46},  {12171, 114, 4674}, {12173, 114, 2394},
                          {12177, 114, 6954}, {12181, 70, 490},  {12200, 400, 276},
                          {19991, 12, 56},   {19992, 12, 56},    {19993, 12, 56},
                          {19994, 12, 56},   {19995, 12, 56},    {19996, 12, 56},
                          {19997, 31, 70},   {19998, 12, 56},    {19999, 12, 56}};
    for (const Size& s : sizes) {
        auto* bitmap = new CBitmap(s.id);
        EXPECT_TRUE(bitmap->isLoaded()) << s.id;
        EXPECT_EQ(bitmap->getWidth(), s.width) << s.id;
        EXPECT_EQ(bitmap->getHeight(), s.height) << s.id;
        bitmap->forget();
    }

    // A number that is not there gives a 0 x 0 bitmap that draws nothing.
    auto* missing = new CBitmap(12345);
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_EQ(missing->getWidth(), 0);
    COffscreenContext context(frame, 20, 20, kMagenta);
    missing->draw(&context, CRect(0, 0, 20, 20));
    missing->drawTransparent(&context, CRect(0, 0, 20, 20));
    EXPECT_EQ(countColour(context, 20, 20, RECT{0, 0, 20, 20}, packed(kMagenta)).inside, 400);
    missing->forget();
}

TEST_F(GdiDrawing, RectanglesLinesClipAndOffset) {
    COffscreenContext context(frame, 40, 30, kBlackCColor);
    EXPECT_EQ(pixel(context, 39, 29), 0u) << "filled with the background given";

    context.setFillColor(kRedCColor);
    context.fillRect(CRect(2, 3, 10, 8));
    Count red = countColour(context, 40, 30, RECT{2, 3, 10, 8}, 0xFF0000);
    EXPECT_EQ(red.inside, 8 * 5);
    EXPECT_EQ(red.outside, 0) << "right and bottom edges stay outside";

    context.setFrameColor(kWhiteCColor);
    context.drawRect(CRect(12, 3, 20, 8));
    EXPECT_EQ(pixel(context, 12, 3), 0xFFFFFFu);
    EXPECT_EQ(pixel(context, 19, 7), 0xFFFFFFu);
    EXPECT_EQ(pixel(context, 15, 5), 0u) << "an outline only";
    EXPECT_EQ(pixel(context, 20, 8), 0u);

    context.setFrameColor(kGreenCColor);
    context.moveTo(CPoint(2, 20));
    context.lineTo(CPoint(7, 20));
    EXPECT_EQ(countColour(context, 40, 30, RECT{2, 20, 7, 21}, 0x00FF00).inside, 5);
    EXPECT_EQ(pixel(context, 7, 20), 0u) << "the end point is left out";

    context.setClipRect(CRect(30, 0, 35, 5));
    context.setFillColor(kBlueCColor);
    context.fillRect(CRect(25, 0, 40, 10));
    Count blue = countColour(context, 40, 30, RECT{30, 0, 35, 5}, 0x0000FF);
    EXPECT_EQ(blue.inside, 25);
    EXPECT_EQ(blue.outside, 0);
    context.resetClipRect();

    context.offset = CPoint(5, 5);
    context.setFillColor(kWhiteCColor);
    context.fillRect(CRect(20, 20, 22, 22));
    EXPECT_EQ(pixel(context, 25, 25), 0xFFFFFFu);
    EXPECT_EQ(pixel(context, 21, 21), 0u);
}

TEST_F(GdiDrawing, TextStaysInItsRectangleAndOpaqueTextFillsItsCell) {
    COffscreenContext context(frame, 120, 40, kBlackCColor);
    context.setFont(kNormalFontSmall);
    context.setFontColor(kWhiteCColor);
    const CRect box(10, 5, 110, 25);
    context.drawString("Korvane", box, false, kLeftText);
    Count white = countColour(context, 120, 40, RECT{10, 5, 110, 25}, 0xFFFFFF);
    EXPECT_GT(white.inside, 10);
    EXPECT_EQ(white.outside, 0);
    // Centred vertically: ink both above and below the middle row.
    EXPECT_GT(countColour(context, 120, 40, RECT{10, 5, 110, 15}, 0xFFFFFF).inside, 0);
    EXPECT_GT(countColour(context, 120, 40, RECT{10, 15, 110, 25}, 0xFFFFFF).inside, 0);

    // Opaque: the text cell gets the fill colour; transparent text leaves it.
    context.setFillColor(kRedCColor);
    context.drawString("Bus", CRect(10, 25, 110, 40), true, kCenterText);
    const Count cell = countColour(context, 120, 40, RECT{10, 25, 110, 40}, 0xFF0000);
    EXPECT_GT(cell.inside, 20);
    EXPECT_EQ(pixel(context, 11, 32), 0u) << "only the text's cell, not the rectangle";
    context.drawString("Bus", CRect(10, 0, 110, 5), false, kCenterText);
    EXPECT_EQ(countColour(context, 120, 40, RECT{10, 0, 110, 5}, 0xFF0000).inside, 0);

    // "&" is drawn, not taken as a prefix.
    COffscreenContext ampersand(frame, 60, 20, kBlackCColor);
    ampersand.setFontColor(kWhiteCColor);
    ampersand.drawString("&&&", CRect(0, 0, 60, 20), false, kLeftText);
    COffscreenContext single(frame, 60, 20, kBlackCColor);
    single.setFontColor(kWhiteCColor);
    single.drawString("&", CRect(0, 0, 60, 20), false, kLeftText);
    EXPECT_GT(countColour(ampersand, 60, 20, RECT{0, 0, 60, 20}, 0xFFFFFF).inside,
              2 * countColour(single, 60, 20, RECT{0, 0, 60, 20}, 0xFFFFFF).inside);
}

TEST_F(GdiDrawing, FontsFollowTheTableAndTheStyleRules) {
    COffscreenContext context(frame, 10, 10);
    LOGFONTA font = selectedFont(context);
    EXPECT_STREQ(font.lfFaceName, "Arial") << "a new context has font 0";
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 700) << "font 0 is always bold";
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(font.lfPitchAndFamily, VARIABLE_PITCH | FF_SWISS);

    context.setFont(4, 40, 0);  // the size argument is not used
    font = selectedFont(context);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_FALSE(font.lfItalic);

    context.setFont(1, 0, kBoldFace | kItalicFace | kUnderlineFace);
    font = selectedFont(context);
    EXPECT_EQ(font.lfHeight, -18);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_TRUE(font.lfUnderline);

    context.setFont(7);
    font = selectedFont(context);
    EXPECT_STREQ(font.lfFaceName, "Symbol");
    EXPECT_EQ(font.lfHeight, -13);
    EXPECT_EQ(font.lfPitchAndFamily, VARIABLE_PITCH | FF_DECORATIVE);

    context.setFont(9, 0, 0);
    font = selectedFont(context);
    EXPECT_EQ(font.lfHeight, -12) << "an id outside the table is font 0";
    EXPECT_EQ(font.lfWeight, 700);

    // The same font again is not made again.
    HGDIOBJ before = GetCurrentObject(dcOf(context), OBJ_FONT);
    context.setFont(0, 0, 0);
    context.setFont(0, 0, 0);
    EXPECT_EQ(GetCurrentObject(dcOf(context), OBJ_FONT), before);
}

TEST_F(GdiDrawing, BitmapCopiesWithAndWithoutTheSystemsBitmapLibrary) {
    const screenshot::Image picture = resourcePixels(12129);
    ASSERT_EQ(picture.width, 106);
    const std::uint32_t key = picture.at(0, 0);
    auto* bitmap = new CBitmap(12129);
    bitmap->setTransparentColor(
        CColor{std::uint8_t(key >> 16), std::uint8_t(key >> 8), std::uint8_t(key), 255});

    for (const bool library : {true, false}) {
        SCOPED_TRACE(library ? "TransparentBlt from msimg32.dll" : "mask copies");
        platform::windows::setBitmapLibraryEnabled(library);
        COffscreenContext context(frame, 120, 100, kMagenta);
        // The second frame of the switch: rows 78 to 155 of the picture.
        bitmap->drawTransparent(&context, CRect(4, 6, 110, 84), CPoint(0, 78));
        int wrong = 0, keyed = 0;
        for (int y = 0; y < 78; ++y)
            for (int x = 0; x < 106; ++x) {
                const std::uint32_t source = picture.at(x, 78 + y);
                const std::uint32_t expected = source == key ? packed(kMagenta) : source;
                if (source == key) ++keyed;
                if (pixel(context, 4 + x, 6 + y) != expected) ++wrong;
            }
        EXPECT_GT(keyed, 0);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(pixel(context, 3, 6), packed(kMagenta));
        EXPECT_EQ(pixel(context, 110, 83), packed(kMagenta));

        // A copy reaching past the picture's edge leaves the rest untouched.
        bitmap->draw(&context, CRect(0, 90, 20, 100), CPoint(100, 0));
        EXPECT_EQ(pixel(context, 5, 90), picture.at(105, 0));
        EXPECT_EQ(pixel(context, 6, 90), packed(kMagenta));
    }
    platform::windows::setBitmapLibraryEnabled(true);

    // Half alpha lies halfway between the picture and what was there.
    COffscreenContext blended(frame, 106, 10, kBlackCColor);
    bitmap->drawAlphaBlend(&blended, CRect(0, 0, 106, 10), CPoint(0, 0), 128);
    int distant = 0;
    for (int x = 0; x < 106; ++x) {
        const std::uint32_t got = pixel(blended, x, 5), source = picture.at(x, 5);
        for (int shift : {16, 8, 0}) {
            const int expected = static_cast<int>((source >> shift) & 0xFF) * 128 / 255;
            if (std::abs(static_cast<int>((got >> shift) & 0xFF) - expected) > 2) ++distant;
        }
    }
    EXPECT_EQ(distant, 0);
    bitmap->forget();
}

// At 1.5 the switch's frames are filled as they are drawn, each as the whole
// strip resampled at once shows it; the mask copies (no bitmap library) take
// a frame filled after the mask was first made.
TEST_F(GdiDrawing, ScaledStripsFillTheirFramesAsTheyAreDrawn) {
    const screenshot::Image large =
        screenshot::packedResourcePixels(GetModuleHandleA(nullptr), 12129);
    ASSERT_EQ(large.width, 212);
    resources::BmpImage twoX{large.width, large.height, {}};
    for (const std::uint32_t p : large.pixels)
        twoX.rgb.insert(twoX.rgb.end(), {static_cast<unsigned char>(p >> 16),
                                         static_cast<unsigned char>(p >> 8),
                                         static_cast<unsigned char>(p)});
    const resources::BmpImage whole = resources::pictureForScale(nullptr, &twoX, 1.5);
    auto wholeAt = [&](int x, int y) {
        const unsigned char* p = &whole.rgb[(static_cast<std::size_t>(y) * whole.width + x) * 3];
        return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
    };
    auto strip = platform::loadResourceBitmap(12129, 1.5);
    ASSERT_NE(strip, nullptr);
    constexpr int kFrame = 117;  // 78 rows at 1.5
    const std::uint32_t key = wholeAt(0, 2 * kFrame);  // a colour the last frame has
    const platform::Colour keyColour{std::uint8_t(key >> 16), std::uint8_t(key >> 8),
                                     std::uint8_t(key)};

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, whole.width, kFrame);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, canvas);
    platform::windows::setBitmapLibraryEnabled(false);
    for (const int frame : {1, 2}) {
        SCOPED_TRACE(frame);
        {
            platform::windows::GdiDevice device(memory);
            device.setBrush(platform::Colour{255, 0, 255});
            device.fillRect(platform::Rect{0, 0, whole.width, kFrame});
            const platform::NativeBitmap* picture = strip->rows(frame * kFrame, kFrame);
            device.drawBitmapTransparent(*picture, platform::Rect{0, 0, whole.width, kFrame},
                                         platform::Point{0, frame * kFrame}, keyColour);
        }
        int wrong = 0, keyed = 0;
        for (int y = 0; y < kFrame; ++y)
            for (int x = 0; x < whole.width; ++x) {
                const std::uint32_t source = wholeAt(x, frame * kFrame + y);
                if (source == key) ++keyed;
                const COLORREF c = GetPixel(memory, x, y);
                const std::uint32_t got = std::uint32_t(GetRValue(c)) << 16 |
                                          std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
                if (got != (source == key ? packed(kMagenta) : source)) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        if (frame == 2) {
            EXPECT_GT(keyed, 0);
        }
    }
    platform::windows::setBitmapLibraryEnabled(true);
    SelectObject(memory, previous);
    DeleteObject(canvas);
    DeleteDC(memory);
}
