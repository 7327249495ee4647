// The horizontal switch, the knob's wheel and keys, and the rocker's wheel.
#include "guiTestSupport.h"

using namespace guitest;

namespace {

// The log without repeated neighbours: a control notifies on every poll while
// it waits for its next redraw.
Log distinct(const Log& log) {
    Log out;
    for (const std::string& entry : log)
        if (out.empty() || out.back() != entry) out.push_back(entry);
    return out;
}

class SwitchTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        // The process switch: 106 pixels, three positions of 78-pixel pictures.
        hl::registerSolidBitmap(12129, 106, 234, 90, 90, 90);
        auto* picture = new CBitmap(12129);
        sw = new CHorizontalSwitch(CRect(20, 10, 126, 88), &listener, 0, 3, 78, 3, picture);
        picture->forget();
        frame->addView(sw);
        sw->setDirty(false);
    }
    // A press at x offset `dx` with the pointer then moving through `moves`
    // (x offsets), released after the last.
    float drag(int dx, std::vector<int> moves = {}) {
        auto& input = hl::scriptedInput();
        input.pushButtons(kLButton);  // read by the frame at the press
        for (int m : moves) input.pushState(kLButton, screen(20 + m, 40));
        input.pushButtons(0);
        window->sendButtonDown(platform::Point{20 + dx, 40});
        return sw->getValue();
    }
    CHorizontalSwitch* sw = nullptr;
};

}  // namespace

TEST_F(SwitchTest, ThirdsOfA106PixelSwitchGiveZeroHalfAndOne) {
    EXPECT_EQ(drag(0), 0.0f);
    EXPECT_EQ(drag(35), 0.0f);
    EXPECT_EQ(drag(36), 0.5f) << "36 / (106 / 3) reaches 1 exactly at 36";
    EXPECT_EQ(drag(70), 0.5f);
    EXPECT_EQ(drag(71), 1.0f);
    EXPECT_EQ(drag(105), 1.0f);
    EXPECT_EQ(drag(106), 1.0f);
}

TEST_F(SwitchTest, DragFollowsThePointerAndPinsAtTheEnds) {
    EXPECT_EQ(drag(10, {50, 90, 400}), 1.0f);
    EXPECT_EQ(distinct(log), (Log{"begin 0", "change 0 0.5", "change 0 1", "end 0"}));

    sw->setDirty(false);
    log.clear();
    EXPECT_EQ(drag(90, {-1, -200}), 0.0f) << "leaving sideways pins it at the left end";
    EXPECT_EQ(distinct(log), (Log{"begin 0", "change 0 0", "end 0"}));
}

TEST_F(SwitchTest, DragEndsWhenAModifierChangesNotOnlyOnRelease) {
    auto& input = hl::scriptedInput();
    input.pushButtons(kLButton);
    input.pushState(kLButton, screen(20 + 50, 40));
    input.pushState(kLButton | kShift, screen(20 + 90, 40));  // ends here
    input.pushState(kLButton | kShift, screen(20 + 90, 40));
    window->sendButtonDown(platform::Point{20 + 10, 40});
    EXPECT_EQ(sw->getValue(), 0.5f);
    EXPECT_EQ(input.pendingButtons(), 1);
}

TEST_F(SwitchTest, CtrlClickSetsTheDefaultAndModifiersAskTheListener) {
    sw->setValue(1.0f);
    sw->setDirty(false);
    pressAt(60, 40, kLButton | kControl);
    EXPECT_EQ(sw->getValue(), 0.0f);
    EXPECT_EQ(log, (Log{"modifier 17", "begin 0", "change 0 0", "end 0"}));

    // A listener that takes modifier clicks stops the switch.
    listener.modifierAnswer = 1;
    log.clear();
    sw->setValue(1.0f);
    pressAt(60, 40, kLButton | kControl);
    EXPECT_EQ(sw->getValue(), 1.0f);
    EXPECT_EQ(log, (Log{"modifier 17"}));

    // A right-button press does nothing.
    log.clear();
    pressAt(60, 40, kRButton);
    EXPECT_TRUE(log.empty());
}

TEST_F(SwitchTest, DrawsThePictureOfItsPosition) {
    hl::registerBitmap(777, 3, 6,
                       std::vector<unsigned char>{255, 0, 0, 255, 0, 0, 255, 0, 0,    //
                                                  255, 0, 0, 255, 0, 0, 255, 0, 0,    //
                                                  0, 255, 0, 0, 255, 0, 0, 255, 0,    //
                                                  0, 255, 0, 0, 255, 0, 0, 255, 0,    //
                                                  0, 0, 255, 0, 0, 255, 0, 0, 255,    //
                                                  0, 0, 255, 0, 0, 255, 0, 0, 255}
                           .data());
    auto* strip = new CBitmap(777);
    auto* small = new CHorizontalSwitch(CRect(150, 50, 153, 52), &listener, 3, 3, 2, 3, strip);
    strip->forget();
    frame->addView(small);
    const float values[] = {0.0f, 0.5f, 1.0f};
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
        small->setValue(values[i]);
        frame->redrawView(small);
        EXPECT_EQ(window->pixel(151, 51), colours[i]) << "value " << values[i];
    }
}

namespace {

class KnobTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        knob = new CKnob(CRect(10, 10, 50, 50), &listener, 5, nullptr);
        frame->addView(knob);
        knob->setValue(0.5f);
        knob->setDirty(false);
    }
    CKnob* knob = nullptr;
};

}  // namespace

TEST_F(KnobTest, WheelStepsByTheIncrementAndATenthWithShift) {
    hl::scriptedInput().setPointer(screen(30, 30));
    EXPECT_TRUE(editor->onWheel(1.0f));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    hl::scriptedInput().pushButtons(kShift);
    EXPECT_TRUE(editor->onWheel(-2.0f));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.58f);
    EXPECT_EQ(log, (Log{"begin 5", "change 5 0.6", "end 5", "begin 5", "change 5 0.58", "end 5"}));

    // Clamped at the end; no change, no notification, but still handled.
    knob->setValue(1.0f);
    knob->setDirty(false);
    log.clear();
    EXPECT_TRUE(editor->onWheel(3.0f));
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(log.empty());

    knob->setMouseEnabled(false);
    EXPECT_FALSE(editor->onWheel(-1.0f));
    EXPECT_EQ(knob->getValue(), 1.0f);
}

TEST_F(KnobTest, ArrowKeysStepTheFocusedKnob) {
    knob->beginEdit();  // any edit makes the knob the focus view
    knob->endEdit();
    log.clear();
    gui::KeyCode up{0, gui::VKEY_UP, 0};
    gui::KeyCode left{0, gui::VKEY_LEFT, gui::MODIFIER_SHIFT};
    gui::KeyCode down{0, gui::VKEY_DOWN, 0};
    gui::KeyCode letter{'a', 0, 0};
    EXPECT_TRUE(editor->onKeyDown(up));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    EXPECT_TRUE(editor->onKeyDown(left));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.59f);
    EXPECT_TRUE(editor->onKeyDown(down));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.49f);
    EXPECT_FALSE(editor->onKeyDown(letter));
    EXPECT_EQ(log, (Log{"begin 5", "change 5 0.6", "end 5", "begin 5", "change 5 0.59", "end 5",
                        "begin 5", "change 5 0.49", "end 5"}));
}

TEST_F(KnobTest, HandlePointFollowsTheAngleGeometry) {
    CPoint p;
    knob->setValue(0.0f);
    knob->valueToPoint(p);  // 5 pi / 4: lower left
    EXPECT_EQ(p, CPoint(8, 32));
    knob->setValue(0.5f);
    knob->valueToPoint(p);  // straight up
    EXPECT_EQ(p, CPoint(20, 3));
    knob->setValue(1.0f);
    knob->valueToPoint(p);  // lower right
    EXPECT_EQ(p, CPoint(32, 32));
    CPoint top(20, 0);
    EXPECT_NEAR(knob->valueFromPoint(top), 0.5f, 1e-6f);
}

TEST_F(KnobTest, FilmStripKnobCountsAsCleanOnlyWhenItsHandlePointIsTheLastDrawn) {
    auto* anim = new CAnimKnob(CRect(60, 10, 100, 50), &listener, 6, 41, 40, nullptr);
    frame->addView(anim);
    anim->setValue(0.3f);
    frame->redrawView(anim);
    EXPECT_FALSE(anim->isDirty());
    anim->setValue(0.31f);
    EXPECT_TRUE(anim->isDirty());
    anim->setDirty(true);
    EXPECT_TRUE(anim->isDirty());
}

TEST_F(GuiTest, RockerWheelReportsThePressAndTheReturnToRest) {
    auto* rocker = new CRockerSwitch(CRect(0, 0, 30, 14), &listener, 44, 14, nullptr);
    frame->addView(rocker);
    hl::scriptedInput().setPointer(screen(10, 5));
    EXPECT_TRUE(editor->onWheel(1.0f));
    frame->redrawView(rocker);
    EXPECT_TRUE(editor->onWheel(-1.0f));
    EXPECT_EQ(log, (Log{"begin 44", "change 44 -1", "change 44 0", "end 44", "begin 44",
                        "change 44 1", "change 44 0", "end 44"}));
}
