// The toolkit's stock controls in a real X window, driven by real pointer and
// keyboard input, and the window's pixels against the headless rendering of
// the same state.
#include <algorithm>

#include "gui/CFrame.h"
#include "platform/linux/x11Diagnostics.h"
#include "x11Fixture.h"

using namespace x11test;

TEST_F(X11Test, OpensInsideTheNestedHostPanelAndPaintsLikeTheHeadlessRendering) {
    openEditor();
    const auto inside = driver->children(panel);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(inside[0], pluginWindow());
    EXPECT_TRUE(driver->viewable(pluginWindow()));
    const auto origin = driver->screenOrigin(pluginWindow());
    EXPECT_EQ(origin.x, kTopX + kPanelX);
    EXPECT_EQ(origin.y, kTopY + kPanelY);
    EXPECT_TRUE(log.empty()) << "opening sends no edits";
    expectLooksLikeReference("open");
}

TEST_F(X11Test, DraggingTheKnobUpRaisesItInsideOneEdit) {
    openEditor();
    const int x = screenX(scene::kKnobRect.left + 57);
    const int y = screenY(scene::kKnobRect.top + 57);
    whileIdling([&](X11Driver& hands) {
        hands.moveTo(x, y);
        hands.press(1);
        for (int step = 1; step <= 6; ++step) {
            hands.moveTo(x, y - 10 * step);
            sleepMs(30);
        }
        // Time for the knob's loop to read the last position, even on a busy machine.
        sleepMs(200);
        hands.release(1);
    });
    // Linear mode: 200 pixels for the whole range, so 60 pixels up from 0 is 0.3.
    EXPECT_NEAR(editor->knob->getValue(), 0.3f, 0.011f);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "begin 5");
    EXPECT_EQ(log.back(), "end 5");
    EXPECT_EQ(std::count(log.begin(), log.end(), "begin 5"), 1);
    EXPECT_GE(editor->changes, 2) << "the value followed the pointer";
    expectLooksLikeReference("knob_dragged");
}

TEST_F(X11Test, AClickWhoseReleaseCameBeforeTheIdleCallStillCounts) {
    openEditor();
    // Press and release both wait in the queue when the host idles next: the
    // press is still seen as a left-button press.
    driver->click(screenX(scene::kSwitchRect.left + 10), screenY(scene::kSwitchRect.top + 30));
    idleFor(100);
    EXPECT_EQ(editor->switchControl->getValue(), 0.0f);
    EXPECT_TRUE(logHas("begin 0"));
    EXPECT_TRUE(logHas("end 0"));
    driver->click(screenX(scene::kSwitchRect.left + 95), screenY(scene::kSwitchRect.top + 30));
    idleFor(100);
    EXPECT_EQ(editor->switchControl->getValue(), 1.0f);
    expectLooksLikeReference("switch_right");
}

TEST_F(X11Test, TheWheelStepsTheKnobUnderThePointer) {
    openEditor();
    driver->moveTo(screenX(scene::kKnobRect.left + 50), screenY(scene::kKnobRect.top + 50));
    driver->click(screenX(scene::kKnobRect.left + 50), screenY(scene::kKnobRect.top + 50), 4);
    idleFor(60);
    EXPECT_NEAR(editor->knob->getValue(), 0.1f, 1e-5f);
    driver->click(screenX(scene::kKnobRect.left + 50), screenY(scene::kKnobRect.top + 50), 4);
    driver->click(screenX(scene::kKnobRect.left + 50), screenY(scene::kKnobRect.top + 50), 4);
    driver->click(screenX(scene::kKnobRect.left + 50), screenY(scene::kKnobRect.top + 50), 5);
    idleFor(60);
    EXPECT_NEAR(editor->knob->getValue(), 0.2f, 1e-5f);
    // Each notch is an edit of its own.
    EXPECT_EQ(std::count(log.begin(), log.end(), "begin 5"), 4);
    // Over no control the wheel does nothing.
    driver->click(screenX(380), screenY(200), 5);
    idleFor(60);
    EXPECT_NEAR(editor->knob->getValue(), 0.2f, 1e-5f);
}

TEST_F(X11Test, TheOptionMenuPopsUpBelowInColumnsAndAClickChooses) {
    openEditor();
    unsigned long popup = 0;
    Pixels shot;
    int originX = 0, originY = 0;
    whileIdling([&](X11Driver& hands) {
        hands.click(screenX(scene::kMenuRect.left + 20), screenY(scene::kMenuRect.top + 8));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        if (!popup) return;
        sleepMs(100);
        const auto origin = hands.screenOrigin(popup);
        originX = origin.x;
        originY = origin.y;
        shot = hands.capture(popup);
        // "Punchy": second entry after the separator in the first column.
        hands.click(originX + 40, originY + 2 + 20 + 9 + 20 + 20 + 10);
    });
    ASSERT_NE(popup, 0u) << "no pop-up window appeared";
    platform::linux_backend::testing::savePng(shot, outputPath("menu_open"));
    EXPECT_EQ(originX, screenX(scene::kMenuRect.left));
    EXPECT_EQ(originY, screenY(scene::kMenuRect.bottom));
    // Five entries per column: two columns side by side, wider than tall.
    EXPECT_GT(shot.width, 2 * 60);
    EXPECT_EQ(shot.height, 2 * 2 + 4 * 20 + 9);
    EXPECT_FALSE(driver->exists(popup));
    EXPECT_EQ(editor->menu->getValue(), 4.0f);
    EXPECT_TRUE(logHas("change 44 4"));
    EXPECT_EQ(log.front(), "begin 44");
    EXPECT_EQ(log.back(), "end 44");
    expectLooksLikeReference("menu_chosen");
}

TEST_F(X11Test, EscapeAndAClickOutsideCloseTheMenuWithoutAChoice) {
    openEditor();
    for (bool escape : {true, false}) {
        unsigned long popup = 0;
        whileIdling([&](X11Driver& hands) {
            hands.click(screenX(scene::kMenuRect.left + 20), screenY(scene::kMenuRect.top + 8));
            for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
            if (escape)
                hands.key("Escape");
            else
                hands.click(screenX(scene::kSwitchRect.left + 95), screenY(scene::kSwitchRect.top + 30));
        });
        ASSERT_NE(popup, 0u);
        EXPECT_EQ(driver->popup(), 0u);
    }
    EXPECT_EQ(editor->menu->getValue(), 0.0f);
    EXPECT_EQ(editor->changes, 0);
    // The click that closed the menu (on the switch) was not passed on to the editor.
    EXPECT_EQ(log, (scene::Log{"begin 44", "end 44", "begin 44", "end 44"}));
}

TEST_F(X11Test, TheTextFieldOpensAnEditBoxThatTakesTypingAndEnter) {
    openEditor();
    const unsigned long plugin = pluginWindow();
    unsigned long box = 0, focus = 0;
    whileIdling([&](X11Driver& hands) {
        hands.click(screenX(scene::kFieldRect.left + 30), screenY(scene::kFieldRect.top + 10));
        for (int i = 0; i < 100 && !box; ++i, sleepMs(20)) {
            const auto inside = hands.children(plugin);
            if (!inside.empty()) box = inside[0];
        }
        sleepMs(100);
        focus = hands.inputFocus();
        hands.type("Bus Twx");
        hands.key("BackSpace");
        hands.type("o");
        sleepMs(60);
        platform::linux_backend::testing::savePng(hands.capture(box), outputPath("edit_box"));
        hands.key("Return");
    });
    ASSERT_NE(box, 0u) << "no edit box appeared";
    EXPECT_EQ(focus, box) << "the box has the keyboard focus";
    EXPECT_FALSE(driver->exists(box));
    EXPECT_NE(driver->inputFocus(), box);
    char text[256];
    editor->field->getText(text);
    EXPECT_STREQ(text, "Bus Two");
    EXPECT_TRUE(logHas("change 43 Bus Two"));
    EXPECT_EQ(log.front(), "begin 43");
    expectLooksLikeReference("text_entered");
}

TEST_F(X11Test, AClickElsewhereEndsTheEditToo) {
    openEditor();
    whileIdling([&](X11Driver& hands) {
        hands.click(screenX(scene::kFieldRect.left + 30), screenY(scene::kFieldRect.top + 10));
        sleepMs(150);
        hands.key("End");
        hands.type("!");
        sleepMs(40);
        hands.click(screenX(350), screenY(150));
    });
    EXPECT_TRUE(driver->children(pluginWindow()).empty());
    EXPECT_TRUE(logHas("change 43 Gentle Bus!"));
}
