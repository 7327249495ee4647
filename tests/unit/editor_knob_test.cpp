// The film-strip knobs as a user drives them in the open editor: quantised
// sends, linear travel, fine mode, clamping, the resets and what a right
// press does.
#include "editorTestSupport.h"

using namespace editortest;

namespace {

class EditorKnob : public EditorTest {
protected:
    // The knob of `tag` set to `value` through the effect, as automation would.
    CAnimKnob3* knobAt(int tag, float value) {
        later();
        effect->setParameter(tag, value);
        idle();
        hostEvents().clear();
        return editor->getKnob(tag);
    }
    // The centre of a knob in window coordinates.
    CPoint centre(CAnimKnob3* knob) {
        const CRect& r = knob->getSize();
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // A drag from the knob's centre by (dx, dy) pixels with `buttons` held.
    void dragBy(CAnimKnob3* knob, int dx, int dy, int buttons = kLButton) {
        later();
        const CPoint c = centre(knob);
        gesture(c.h, c.v, buttons, {{buttons, c.h + dx, c.v + dy}});
    }
    // The last value the host was told for parameter `index`.
    float lastAutomated(int index) {
        for (auto it = hostEvents().rbegin(); it != hostEvents().rend(); ++it)
            if (it->opcode == vst2::audioMasterAutomate && it->index == index) return it->value;
        return -1.0f;
    }
};

}  // namespace

TEST_F(EditorKnob, SizedByTheirStripsAndShowingTheEffectsValues) {
    EXPECT_EQ(editor->getKnob(4)->getSize(), CRect(28, 143, 142, 257));
    EXPECT_EQ(editor->getKnob(5)->getSize(), CRect(143, 143, 257, 257));
    EXPECT_EQ(editor->getKnob(6)->getSize(), CRect(258, 143, 372, 257));
    EXPECT_EQ(editor->getKnob(2)->getSize(), CRect(50, 50, 120, 120));
    for (int tag : {2, 4, 5, 6}) EXPECT_EQ(editor->getKnob(tag)->getValue(), parameter(tag)) << tag;
}

TEST_F(EditorKnob, ChangesAreSentAsTheNearestStepOfTheStrip) {
    // 5 pixels right of 0.5 is 0.51: the compression strip's nearest step is 20 / 40.
    CAnimKnob3* compression = knobAt(5, 0.5f);
    dragBy(compression, 5, 0);
    EXPECT_EQ(lastAutomated(5), 0.5f);
    EXPECT_EQ(parameter(5), 0.5f);
    EXPECT_EQ(compression->getValue(), 0.5f) << "the effect's echo";

    compression->setValue(0.51f);
    editor->valueChanged(nullptr, compression);
    EXPECT_EQ(lastAutomated(5), 0.5f);

    // The ratio knob travels 250 pixels: 25 right of 0.5 is 0.6, sent as 4 / 6.
    CAnimKnob3* ratio = knobAt(2, 0.5f);
    dragBy(ratio, 25, 0);
    EXPECT_FLOAT_EQ(lastAutomated(2), 4.0f / 6.0f);
    EXPECT_FLOAT_EQ(parameter(2), 4.0f / 6.0f);
}

TEST_F(EditorKnob, UpCountsTwiceRightOnceOverFiveHundredPixels) {
    CAnimKnob3* time = knobAt(4, 0.0f);
    dragBy(time, 0, -100);
    EXPECT_FLOAT_EQ(parameter(4), 0.4f);
    time = knobAt(4, 0.0f);
    dragBy(time, 0, -250);
    EXPECT_EQ(parameter(4), 1.0f);

    time = knobAt(4, 0.0f);
    dragBy(time, 250, 0);
    EXPECT_EQ(parameter(4), 0.5f);
    // Down and left lower it the same way.
    dragBy(time, -50, -25);
    EXPECT_EQ(parameter(4), 0.5f) << "50 left and 25 up cancel";
    dragBy(time, 0, 50);
    EXPECT_FLOAT_EQ(parameter(4), 0.3f);
}

TEST_F(EditorKnob, ShiftMidDragKeepsTheValueAndMakesTravelFourTimesFiner) {
    CAnimKnob3* compression = knobAt(5, 0.0f);
    const CPoint c = centre(compression);
    gesture(c.h, c.v, kLButton,
            {{kLButton, c.h + 100, c.v},                     // 0.2
             {kLButton | kShift, c.h + 100, c.v},            // no jump
             {kLButton | kShift, c.h + 300, c.v}});          // 200 more at 2000 per range
    EXPECT_FLOAT_EQ(parameter(5), 0.3f);
    // Every value sent on the way is a step the strip shows: no jump at the switch.
    for (const HostEvent& e : hostEvents())
        if (e.opcode == vst2::audioMasterAutomate) {
            EXPECT_GE(e.value, 0.0f);
            EXPECT_LE(e.value, 0.3f + 1e-6f);
        }

    // Releasing Shift mid-drag switches back without a jump either.
    compression = knobAt(5, 0.0f);
    gesture(c.h, c.v, kLButton | kShift,
            {{kLButton | kShift, c.h + 200, c.v},            // 0.1
             {kLButton, c.h + 200, c.v},
             {kLButton, c.h + 250, c.v}});                   // 50 more at 500 per range
    EXPECT_FLOAT_EQ(parameter(5), 0.2f);
}

TEST_F(EditorKnob, EndsClampWithoutWrapAndTravelIsCountedOnTheWayBack) {
    CAnimKnob3* time = knobAt(4, 0.5f);
    const CPoint c = centre(time);
    gesture(c.h, c.v, kLButton,
            {{kLButton, c.h + 400, c.v}});                   // 0.5 + 0.8: held at 1.0
    EXPECT_EQ(parameter(4), 1.0f);
    later();
    gesture(c.h, c.v, kLButton, {{kLButton, c.h + 1000, c.v}});
    EXPECT_EQ(parameter(4), 1.0f) << "no wrap to the start";

    time = knobAt(4, 0.5f);
    gesture(c.h, c.v, kLButton,
            {{kLButton, c.h + 400, c.v},                     // overshoot by 150 pixels
             {kLButton, c.h + 300, c.v}});                   // back 100: still beyond the end
    EXPECT_EQ(parameter(4), 1.0f);
    time = knobAt(4, 0.5f);
    gesture(c.h, c.v, kLButton,
            {{kLButton, c.h + 400, c.v},
             {kLButton, c.h + 200, c.v}});                   // travel 200: 0.9
    EXPECT_FLOAT_EQ(parameter(4), 0.9f);

    time = knobAt(4, 0.5f);
    gesture(c.h, c.v, kLButton, {{kLButton, c.h - 600, c.v}, {kLButton, c.h - 300, c.v}});
    EXPECT_FLOAT_EQ(parameter(4), 0.0f) << "travel -300 is still beyond the lower end";
}

TEST_F(EditorKnob, TwoPressesWithinTheDoubleClickTimeResetToTheDefault) {
    CAnimKnob3* compression = knobAt(5, 0.8f);
    const CPoint c = centre(compression);
    auto& clock = hl::fakeClock();
    const std::uint32_t first = clock.tickCount();
    gesture(c.h, c.v, kLButton, {{kLButton, c.h + 50, c.v}});
    EXPECT_FLOAT_EQ(parameter(5), 0.9f) << "the first press is a drag of its own";
    const std::vector<std::string> firstPress = distinct(hostLog());
    ASSERT_GE(firstPress.size(), 3u);
    EXPECT_EQ(firstPress.front(), "automate 5 0.8");
    EXPECT_EQ(firstPress[1], "begin 5");
    EXPECT_EQ(firstPress.back(), "end 5");

    hostEvents().clear();
    clock.set(first + 100);
    press(c.h, c.v);
    EXPECT_EQ(parameter(5), 0.5f);
    EXPECT_EQ(distinct(hostLog()),
              (std::vector<std::string>{"automate 5 0.9", "begin 5", "automate 5 0.5", "end 5"}));

    // A third quick press drags again.
    hostEvents().clear();
    clock.advance(100);
    gesture(c.h, c.v, kLButton, {{kLButton, c.h + 25, c.v}});
    EXPECT_FLOAT_EQ(parameter(5), 0.55f);

    // Presses further apart than the double-click time are two drags.
    compression = knobAt(5, 0.8f);
    clock.advance(600);
    press(c.h, c.v);
    clock.advance(501);
    press(c.h, c.v);
    EXPECT_FLOAT_EQ(parameter(5), 0.8f);
}

TEST_F(EditorKnob, CtrlClickResetsButCtrlShiftClickIsAFineDrag) {
    CAnimKnob3* output = knobAt(6, 0.5f);
    const CPoint c = centre(output);
    press(c.h, c.v, kLButton | kControl);
    EXPECT_EQ(parameter(6), 0.0f) << "the output knob's default";
    EXPECT_EQ(output->getValue(), 0.0f);

    knobAt(6, 0.5f);
    gesture(c.h, c.v, kLButton | kControl | kShift,
            {{kLButton | kControl | kShift, c.h + 200, c.v}});
    EXPECT_FLOAT_EQ(parameter(6), 0.6f) << "200 pixels at 2000 per range";
}

TEST_F(EditorKnob, ARightPressDoesNothing) {
    CAnimKnob3* time = knobAt(4, 0.3f);
    const CPoint c = centre(time);
    gesture(c.h, c.v, kRButton, {{kRButton, c.h + 100, c.v - 100}});
    EXPECT_EQ(parameter(4), 0.3f);
    EXPECT_TRUE(hostEvents().empty()) << "not even the press notification";
}

TEST_F(EditorKnob, TheStripPictureFollowsTheValue) {
    CAnimKnob3* output = knobAt(6, 1.0f);
    EXPECT_EQ(output->frameIndex(), 60);
    EXPECT_TRUE(showsFrame(output->getSize(), 12177, 60, 114));
    knobAt(6, 0.5f);
    EXPECT_TRUE(showsFrame(output->getSize(), 12177, 30, 114));

    CAnimKnob3* compression = knobAt(5, 0.0125f);
    EXPECT_EQ(compression->frameIndex(), 1) << "half a step up shows the next picture";
    EXPECT_TRUE(showsFrame(compression->getSize(), 12171, 1, 114));
    knobAt(5, 0.0f);
    EXPECT_TRUE(showsFrame(compression->getSize(), 12171, 0, 114));

    CAnimKnob3* ratio = knobAt(2, 4.0f / 6.0f);
    EXPECT_TRUE(showsFrame(ratio->getSize(), 12181, 4, 70));
}

TEST_F(EditorKnob, ArrowKeysTurnTheKnobThatTookTheFocus) {
    CAnimKnob3* time = knobAt(4, 0.5f);
    press(centre(time).h, centre(time).v);  // a drag of nothing takes the focus
    hostEvents().clear();
    EXPECT_EQ(effect->dispatcher(vst2::effEditKeyDown, 0, gui::VKEY_UP, nullptr, 0.0f), 1);
    EXPECT_FLOAT_EQ(parameter(4), 0.6f);
    EXPECT_EQ(distinct(hostLog()), (std::vector<std::string>{"begin 4", "automate 4 0.6", "end 4"}));
    EXPECT_EQ(effect->dispatcher(vst2::effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
}
