// Drawing: bitmaps, lines, rectangles and text on real pixels, and the way
// the frame brings its picture to the window.
#include "guiTestSupport.h"

using namespace guitest;

namespace {

hl::CairoDevice& deviceOf(CDrawContext& context) {
    return *static_cast<hl::CairoDevice*>(context.getDevice());
}

// A 2 x 2 picture: red, green / blue, white.
void registerQuad(int id) {
    const unsigned char rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    hl::registerBitmap(id, 2, 2, rgb);
}

class Painted : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        window->processEvents();  // the first paint
    }
};

}  // namespace

TEST_F(GuiTest, MissingBitmapIsZeroByZeroAndDrawsNothing) {
    auto* missing = new CBitmap(4242);
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    auto* offscreen = new COffscreenContext(frame, 20, 20, CColor{10, 20, 30, 255});
    missing->draw(offscreen, CRect(0, 0, 20, 20));
    missing->drawTransparent(offscreen, CRect(0, 0, 20, 20));
    missing->drawAlphaBlend(offscreen, CRect(0, 0, 20, 20));
    EXPECT_EQ(deviceOf(*offscreen).pixel(5, 5), 0x0A141Eu);

    // A view with it draws nothing either, and the control stays usable.
    auto* view = new CView(CRect(0, 0, 20, 20));
    view->setBackground(missing);
    view->draw(offscreen);
    EXPECT_EQ(deviceOf(*offscreen).pixel(5, 5), 0x0A141Eu);
    EXPECT_FALSE(missing->loadFromPath("/tmp/anything.bmp"));
    view->forget();
    missing->forget();
    offscreen->forget();
}

TEST_F(GuiTest, BitmapsCopyTheirAreaAtTheContextOffset) {
    registerQuad(10);
    auto* quad = new CBitmap(10);
    ASSERT_EQ(quad->getWidth(), 2);
    auto* offscreen = new COffscreenContext(frame, 10, 10, kBlackCColor);
    hl::CairoDevice& pixels = deviceOf(*offscreen);

    quad->draw(offscreen, CRect(1, 1, 3, 3));
    EXPECT_EQ(pixels.pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(2, 1), 0x00FF00u);
    EXPECT_EQ(pixels.pixel(1, 2), 0x0000FFu);
    EXPECT_EQ(pixels.pixel(3, 3), 0u) << "nothing beyond the rectangle";

    offscreen->offset = CPoint(5, 5);
    quad->draw(offscreen, CRect(0, 0, 1, 1), CPoint(1, 1));  // the white pixel
    EXPECT_EQ(pixels.pixel(5, 5), 0xFFFFFFu);

    // Transparent drawing leaves out the transparent colour (white by default).
    offscreen->offset = CPoint(0, 0);
    offscreen->setFillColor(CColor{9, 9, 9, 255});
    offscreen->fillRect(CRect(0, 0, 10, 10));
    quad->drawTransparent(offscreen, CRect(4, 4, 6, 6));
    EXPECT_EQ(pixels.pixel(4, 4), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(5, 5), 0x090909u);
    quad->setTransparentColor(CColor{255, 0, 0, 0});
    quad->drawTransparent(offscreen, CRect(7, 7, 9, 9));
    EXPECT_EQ(pixels.pixel(7, 7), 0x090909u);
    EXPECT_EQ(pixels.pixel(8, 8), 0xFFFFFFu);

    // Constant alpha blends half of the red over the grey.
    quad->drawAlphaBlend(offscreen, CRect(0, 8, 1, 9), CPoint(0, 0), 128);
    const std::uint32_t blended = pixels.pixel(0, 8);
    EXPECT_NEAR(static_cast<int>(blended >> 16), 132, 2);
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 4, 2);
    quad->forget();
    offscreen->forget();
}

TEST_F(GuiTest, LinesRectanglesAndFillsLandOnTheExpectedPixels) {
    auto* offscreen = new COffscreenContext(frame, 20, 20, kBlackCColor);
    hl::CairoDevice& pixels = deviceOf(*offscreen);
    offscreen->setFrameColor(CColor{170, 165, 160, 255});
    offscreen->moveTo(CPoint(2, 2));
    offscreen->lineTo(CPoint(6, 2));
    EXPECT_EQ(pixels.pixel(2, 2), 0xAAA5A0u);
    EXPECT_EQ(pixels.pixel(5, 2), 0xAAA5A0u);
    EXPECT_EQ(pixels.pixel(6, 2), 0u) << "the end point is not drawn";
    offscreen->lineTo(CPoint(6, 6));
    EXPECT_EQ(pixels.pixel(6, 2), 0xAAA5A0u) << "but starts the next line";
    offscreen->moveTo(CPoint(10, 10));
    offscreen->lineTo(CPoint(14, 14));
    EXPECT_EQ(pixels.pixel(12, 12), 0xAAA5A0u);

    offscreen->setFillColor(kWhiteCColor);
    offscreen->fillRect(CRect(0, 15, 3, 18));
    EXPECT_EQ(pixels.pixel(2, 17), 0xFFFFFFu);
    EXPECT_EQ(pixels.pixel(3, 17), 0u);
    EXPECT_EQ(pixels.pixel(2, 18), 0u);
    offscreen->setFrameColor(kRedCColor);
    offscreen->drawRect(CRect(10, 0, 15, 5));
    EXPECT_EQ(pixels.pixel(10, 0), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(14, 4), 0xFF0000u);
    EXPECT_EQ(pixels.pixel(12, 2), 0u) << "an outline, not a fill";
    EXPECT_EQ(pixels.pixel(15, 5), 0u);

    // The clip rectangle holds back everything outside it.
    offscreen->setClipRect(CRect(0, 0, 5, 20));
    offscreen->setFillColor(kGreenCColor);
    offscreen->fillRect(CRect(0, 19, 20, 20));
    EXPECT_EQ(pixels.pixel(4, 19), 0x00FF00u);
    EXPECT_EQ(pixels.pixel(5, 19), 0u);
    offscreen->forget();
}

TEST_F(GuiTest, TextUsesTheFontTableAndStaysInItsRectangle) {
    EXPECT_EQ(hl::servingFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(fontDescription(4).size, 11);
    EXPECT_EQ(fontDescription(7).face, std::string("Symbol"));
    EXPECT_EQ(fontDescription(99).size, 12) << "unknown ids use font 0";

    auto* offscreen = new COffscreenContext(frame, 120, 40, kWhiteCColor);
    hl::CairoDevice& pixels = deviceOf(*offscreen);
    offscreen->setFont(kNormalFont, 99);
    EXPECT_EQ(offscreen->getFontSize(), 12) << "the table's size, whatever was asked";
    offscreen->setFontColor(kBlackCColor);
    const CRect cell(10, 10, 110, 30);
    offscreen->drawString("Compression \xe9", cell, false, kLeftText);
    int dark = 0, darkOutside = 0, leftmost = 1000;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            if ((pixels.pixel(x, y) & 0xFF) > 128) continue;
            if (cell.pointInside(CPoint(x, y))) {
                ++dark;
                leftmost = std::min(leftmost, x);
            } else {
                ++darkOutside;
            }
        }
    EXPECT_GT(dark, 50);
    EXPECT_EQ(darkOutside, 0);
    EXPECT_GE(leftmost, 11) << "left-aligned text starts one pixel inside";
    EXPECT_LE(leftmost, 13);

    // After 8-bit text the surface still draws (cairo stops on invalid UTF-8).
    offscreen->setFillColor(kRedCColor);
    offscreen->fillRect(CRect(0, 0, 2, 2));
    EXPECT_EQ(pixels.pixel(1, 1), 0xFF0000u);

    // Opaque text fills its cell with the fill colour.
    offscreen->setFillColor(CColor{0, 0, 200, 255});
    offscreen->drawString("Hi", CRect(0, 30, 120, 40), true, kCenterText);
    int filled = 0;
    for (int y = 30; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (pixels.pixel(x, y) == 0x0000C8u) ++filled;
    EXPECT_GT(filled, 20);
    EXPECT_EQ(pixels.pixel(5, 35), 0xFFFFFFu) << "only the text's own cell";
    offscreen->forget();
}

TEST_F(Painted, WholeRedrawGoesThroughOneOffscreenSurfaceAndOneCopy) {
    hl::registerSolidBitmap(1, 200, 100, 40, 60, 80);
    registerQuad(2);
    auto* background = new CBitmap(1);
    frame->setBackground(background);
    background->forget();
    auto* quad = new CBitmap(2);
    auto* view = new CView(CRect(10, 10, 12, 12));
    view->setBackground(quad);
    quad->forget();
    frame->addView(view);

    const int offscreensBefore = hl::offscreenSurfacesCreated();
    window->stats() = {};
    frame->setDirty(true);
    ASSERT_TRUE(frame->idle());
    EXPECT_EQ(window->stats().copies, 1);
    EXPECT_EQ(window->stats().drawings, 0) << "nothing drawn straight into the window";
    EXPECT_LE(hl::offscreenSurfacesCreated() - offscreensBefore, 1);

    COffscreenContext* offscreen = frame->getOffscreenContext();
    ASSERT_NE(offscreen, nullptr);
    EXPECT_EQ(offscreen->getWidth(), 200);
    EXPECT_EQ(offscreen->getHeight(), 100);
    hl::CairoDevice& off = deviceOf(*offscreen);
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (off.pixel(x, y) != window->pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(window->pixel(10, 10), 0xFF0000u);
    EXPECT_EQ(window->pixel(150, 50), 0x283C50u);

    // The next whole redraw reuses the same surface.
    const int made = hl::offscreenSurfacesCreated();
    frame->setDirty(true);
    frame->idle();
    EXPECT_EQ(hl::offscreenSurfacesCreated(), made);
    EXPECT_FALSE(frame->isDirty());
}

TEST_F(Painted, ADirtyChildAloneDrawsStraightIntoTheWindow) {
    registerQuad(2);
    auto* quad = new CBitmap(2);
    auto* sw = new CHorizontalSwitch(CRect(10, 10, 12, 12), &listener, 0, 1, 2, 1, quad);
    quad->forget();
    frame->addView(sw);
    frame->setDirty(true);
    frame->idle();

    window->stats() = {};
    sw->setDirty(true);
    ASSERT_TRUE(frame->idle());
    EXPECT_EQ(window->stats().copies, 0);
    EXPECT_EQ(window->stats().drawings, 1);
    EXPECT_FALSE(sw->isDirty());
}

TEST_F(GuiTest, PaintDrawsOnlyTheDamagedRectangle) {
    auto* view = new CView(CRect(0, 0, 200, 100));
    hl::registerSolidBitmap(3, 200, 100, 255, 0, 0);
    auto* red = new CBitmap(3);
    view->setBackground(red);
    red->forget();
    frame->addView(view);
    window->sendPaint(platform::Rect{20, 20, 40, 30});
    EXPECT_EQ(window->pixel(20, 20), 0xFF0000u);
    EXPECT_EQ(window->pixel(39, 29), 0xFF0000u);
    EXPECT_EQ(window->pixel(40, 29), 0xF0F0F0u) << "the window's own face remains";
    EXPECT_EQ(window->pixel(19, 20), 0xF0F0F0u);
    EXPECT_FALSE(frame->isFirstDraw());
}

TEST_F(GuiTest, ContainerWithoutBitmapFillsItsBackgroundColour) {
    auto* box = new CViewContainer(CRect(10, 10, 50, 50), frame);
    box->setBackgroundColor(CColor{1, 2, 3, 255});
    EXPECT_EQ(box->getBackgroundColor(), (CColor{1, 2, 3, 255}));
    frame->addView(box);
    frame->setBackgroundColor(CColor{200, 100, 50, 255});
    frame->redrawView(frame);
    EXPECT_EQ(window->pixel(20, 20), 0x010203u);
    EXPECT_EQ(window->pixel(5, 5), 0xC86432u);
}
