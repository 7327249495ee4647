// The headless backend's own rules, which every toolkit and editor test
// relies on: scripted input, the fake clock, scripted answers and bitmaps.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"
#include "platform/editBox.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/popupMenu.h"
#include "platform/cairo/cairoBitmap.h"
#include "platform/resourceBitmap.h"
#include "platform/scaledBitmap.h"

namespace hl = platform::headless;

namespace {

struct NullEvents : platform::WindowEvents {
    void onPaint(platform::DrawDevice&, const platform::Rect& r) override {
        ++paints;
        last = r;
    }
    void onButtonDown(platform::Point) override { ++presses; }
    void onWheel(platform::Point, int) override {}
    void onDestroyed() override {}
    int paints = 0;
    int presses = 0;
    platform::Rect last;
};

struct RecordingBoxEvents : platform::EditBoxEvents {
    void onEditReturn() override { ++returns; }
    void onEditFocusLost() override { ++losses; }
    int returns = 0;
    int losses = 0;
};

bool provideTwoByOne(int id, hl::RgbImage& out) {
    if (id != 31) return false;
    out.width = 2;
    out.height = 1;
    out.rgb = {1, 2, 3, 4, 5, 6};
    return true;
}

class Headless : public ::testing::Test {
protected:
    void SetUp() override { hl::resetHeadless(); }
};

}  // namespace

TEST_F(Headless, ButtonPollsTakeTheScriptThenReportEverythingReleased) {
    auto& input = hl::scriptedInput();
    input.pushButtons(1);
    input.pushButtons(1 | 8);
    EXPECT_EQ(platform::input().buttonState(), 1);
    EXPECT_EQ(platform::input().buttonState(), 9);
    EXPECT_EQ(platform::input().buttonState(), 0) << "dry: released, so no loop can hang";
    EXPECT_EQ(platform::input().buttonState(), 0);
    EXPECT_EQ(input.buttonPolls(), 4);
}

TEST_F(Headless, PointerPollsTakeTheScriptThenStayWhereTheyEnded) {
    auto& input = hl::scriptedInput();
    input.setPointer(platform::Point{5, 6});
    EXPECT_EQ(platform::input().cursorPosition().x, 5);
    input.pushPointer(platform::Point{10, 20});
    input.pushPointer(platform::Point{30, 40});
    EXPECT_EQ(platform::input().cursorPosition().x, 10);
    EXPECT_EQ(platform::input().cursorPosition().y, 40);
    EXPECT_EQ(platform::input().cursorPosition().y, 40);
    EXPECT_EQ(input.pointerPolls(), 4);
}

TEST_F(Headless, SwappedButtonsAreReadWhenTheFirstWindowIsMade) {
    auto& input = hl::scriptedInput();
    input.setSwappedButtons(true);
    input.pushButtons(1);
    EXPECT_EQ(platform::input().buttonState(), 1) << "not latched before any window";
    NullEvents events;
    auto window = platform::createChildWindow(nullptr, 10, 10, events);
    input.pushButtons(1 | 16);
    input.pushButtons(4);
    EXPECT_EQ(platform::input().buttonState(), 4 | 16);
    EXPECT_EQ(platform::input().buttonState(), 1);
}

TEST_F(Headless, SleepAdvancesTheClock) {
    EXPECT_EQ(platform::clock().tickCount(), 1000u);
    platform::clock().sleep(4);
    platform::clock().sleep(0);
    EXPECT_EQ(platform::clock().tickCount(), 1004u);
    EXPECT_EQ(hl::fakeClock().sleepCalls(), 2);
    hl::fakeClock().set(0xFFFFFFFEu);
    platform::clock().sleep(4);
    EXPECT_EQ(platform::clock().tickCount(), 2u) << "wraps like the system's";
}

TEST_F(Headless, WindowPaintsItselfOnceAndNestedDeliveryIsPaintOnly) {
    NullEvents events;
    auto window = platform::createChildWindow(nullptr, 30, 20, events);
    auto* headless = static_cast<hl::HeadlessWindow*>(window.get());
    headless->postButtonDown(platform::Point{1, 1});
    window->processEvents();
    EXPECT_EQ(events.presses, 1);
    EXPECT_EQ(events.paints, 1);
    EXPECT_EQ(events.last.right, 30) << "a new window asks for a whole paint";
    EXPECT_FALSE(window->dispatchOnePaint());
    window->invalidate(platform::Rect{-5, 2, 8, 50});
    EXPECT_TRUE(window->dispatchOnePaint());
    EXPECT_EQ(events.last.left, 0);
    EXPECT_EQ(events.last.bottom, 20);
    EXPECT_EQ(platform::createChildWindow(nullptr, 0, 10, events), nullptr);
}

TEST_F(Headless, EditBoxTakesTheNextScriptedAnswerAtTheWindowsNextEvents) {
    NullEvents events;
    auto window = platform::createChildWindow(nullptr, 100, 20, events);
    hl::scriptEditBox("typed", hl::EditEnd::focusLoss);
    RecordingBoxEvents boxEvents;
    platform::EditBoxStyle style;
    style.maxLength = 3;
    auto box = platform::createEditBox(*window, platform::Rect{0, 0, 100, 20}, "abcdef", style,
                                       boxEvents);
    char text[16];
    box->getText(text, sizeof text);
    EXPECT_STREQ(text, "abc") << "the limit holds for the initial text too";
    EXPECT_EQ(boxEvents.losses, 0);
    window->processEvents();
    EXPECT_EQ(boxEvents.losses, 1);
    box->getText(text, 3);
    EXPECT_STREQ(text, "ty") << "cut to the caller's buffer";
    box.reset();
    EXPECT_EQ(hl::liveEditBoxes(), 0);
}

TEST_F(Headless, PopupAnswersOnlyCommandsThatCanBeChosen) {
    NullEvents events;
    auto window = platform::createChildWindow(nullptr, 10, 10, events);
    auto menu = platform::createPopupMenu();
    menu->addItem("a", 0, 0);
    menu->addItem("b", 1, platform::kMenuGreyed);
    menu->addSeparator(0);
    hl::scriptMenuChoice(1);
    hl::scriptMenuChoice(7);
    hl::scriptMenuChoice(0);
    EXPECT_EQ(menu->track(*window, platform::Point{}, false, false), -1);
    EXPECT_EQ(menu->track(*window, platform::Point{}, false, false), -1);
    EXPECT_EQ(menu->track(*window, platform::Point{}, false, false), 0);
    EXPECT_EQ(menu->track(*window, platform::Point{}, false, false), -1) << "nothing scripted";
    EXPECT_EQ(hl::menusShown(), 4);
}

TEST_F(Headless, TheEmbeddedArtworkIsTheDefaultProvider) {
    auto background = platform::loadResourceBitmap(12128);
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->width(), 400);
    EXPECT_EQ(background->height(), 309);
    EXPECT_EQ(platform::loadResourceBitmap(12127), nullptr) << "a number without artwork";
}

TEST_F(Headless, BitmapsComeFromTheRegistryThenTheProvider) {
    const hl::BitmapProvider artwork = hl::bitmapProvider();
    EXPECT_EQ(platform::loadResourceBitmap(31), nullptr);
    hl::setBitmapProvider(provideTwoByOne);
    auto provided = platform::loadResourceBitmap(31);
    ASSERT_NE(provided, nullptr);
    EXPECT_EQ(provided->width(), 2);
    hl::registerSolidBitmap(31, 5, 4, 0, 0, 0);
    EXPECT_EQ(platform::loadResourceBitmap(31)->height(), 4) << "registered bitmaps come first";
    hl::unregisterBitmap(31);
    EXPECT_EQ(platform::loadResourceBitmap(31)->height(), 1);
    hl::setBitmapProvider(nullptr);
    EXPECT_EQ(platform::loadResourceBitmap(12128), nullptr) << "no provider, no artwork";
    hl::setBitmapProvider(artwork);
}

namespace {

// The pixel at (x, y) of a cairo picture, as 0xAARRGGBB.
std::uint32_t surfacePixel(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  y * cairo_image_surface_get_stride(surface))[x];
}

}  // namespace

// Scaled pictures are filled row by row as they are drawn. A registered one
// may change under its number, so each load makes it from what is registered
// then; and a transparent copy made before some rows were filled takes them.
TEST_F(Headless, ScaledPicturesFollowTheRegistryAndFillTheirKeyedCopies) {
    hl::registerSolidBitmap(32, 4, 4, 10, 20, 30);
    auto before = platform::loadResourceBitmap(32, 2.0);
    hl::registerSolidBitmap(32, 4, 4, 200, 0, 0);
    auto after = platform::loadResourceBitmap(32, 2.0);
    ASSERT_TRUE(before && after);
    const auto* old = static_cast<const platform::cairo_draw::CairoBitmap*>(before->rows(0, 2));
    const auto* red = static_cast<const platform::cairo_draw::CairoBitmap*>(after->rows(0, 2));
    EXPECT_EQ(red->width(), 9) << "enlarged from 1x, one pixel to spare";
    EXPECT_EQ(surfacePixel(old->surface(), 3, 1), 0xFF0A141Eu);
    EXPECT_EQ(surfacePixel(red->surface(), 3, 1), 0xFFC80000u);
    EXPECT_EQ(surfacePixel(red->surface(), 3, 2), 0u) << "a row not drawn yet";

    cairo_surface_t* keyed = red->keyedSurface(platform::Colour{10, 20, 30});
    EXPECT_EQ(surfacePixel(keyed, 3, 1), 0xFFC80000u);
    after->rows(2, 7);
    EXPECT_EQ(surfacePixel(red->surface(), 3, 8), 0xFFC80000u);
    EXPECT_EQ(surfacePixel(keyed, 3, 8), 0xFFC80000u) << "the keyed copy takes the new rows";
    EXPECT_EQ(surfacePixel(red->keyedSurface(platform::Colour{200, 0, 0}), 3, 8), 0u);
    hl::unregisterBitmap(32);
}
