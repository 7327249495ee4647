// The control model: values, the dirty protocol, edits and default resets.
#include "guiTestSupport.h"

using namespace guitest;

namespace {

// A control that draws nothing, to see the base behaviour.
class PlainControl : public CControl {
public:
    using CControl::CControl;
    void draw(CDrawContext*) override { setDirty(false); }
    int doubleClickInterval() const { return delta; }
};

}  // namespace

TEST_F(GuiTest, ControlStartsWithItsDocumentedFieldsAndSettersDoNotMarkDirty) {
    hl::scriptedInput().setDoubleClickTime(100);
    auto* c = new PlainControl(CRect(0, 0, 10, 10), &listener, 7);
    EXPECT_EQ(c->getValue(), 0.0f);
    EXPECT_EQ(c->getOldValue(), 1.0f);
    EXPECT_EQ(c->getDefaultValue(), 0.5f);
    EXPECT_EQ(c->getMin(), 0.0f);
    EXPECT_EQ(c->getMax(), 1.0f);
    EXPECT_EQ(c->getWheelInc(), 0.1f);
    EXPECT_TRUE(c->getMouseEnabled());
    EXPECT_TRUE(c->isTypeOf("CControl"));
    EXPECT_TRUE(c->isTypeOf("CView"));
    EXPECT_FALSE(c->isTypeOf("CFrame"));

    c->setValue(1.0f);
    EXPECT_FALSE(c->isDirty()) << "value equals the old value 1.0";
    c->setValue(0.25f);
    EXPECT_TRUE(c->isDirty());
    EXPECT_EQ(listener.changes, 0) << "setters never notify";
    c->setDirty(false);
    EXPECT_EQ(c->getOldValue(), 0.25f);
    EXPECT_FALSE(c->isDirty());

    c->setValue(1.5f);
    c->bounceValue();
    EXPECT_EQ(c->getValue(), 1.0f);
    c->setValue(-0.5f);
    c->bounceValue();
    EXPECT_EQ(c->getValue(), 0.0f);
    c->forget();
}

TEST_F(GuiTest, ControlSetToMinusOneAndMarkedDirtyStaysDirty) {
    auto* c = new PlainControl(CRect(0, 0, 10, 10), &listener, 1);
    c->setValue(-1.0f);
    c->setDirty(true);
    EXPECT_EQ(c->getOldValue(), 0.0f);
    EXPECT_TRUE(c->isDirty());
    c->setValue(0.3f);
    c->setDirty(true);
    EXPECT_EQ(c->getOldValue(), -1.0f);
    EXPECT_TRUE(c->isDirty());
    c->forget();
}

TEST_F(GuiTest, CtrlClickResetsButCtrlShiftClickDoesNot) {
    auto* c = new PlainControl(CRect(0, 0, 10, 10), &listener, 5);
    frame->addView(c);
    c->setValue(0.9f);
    c->setDefaultValue(0.25f);

    EXPECT_FALSE(c->checkDefaultValue(nullptr, kLButton | kControl | kShift));  // 25
    EXPECT_FALSE(c->checkDefaultValue(nullptr, kRButton | kControl));
    EXPECT_EQ(c->getValue(), 0.9f);
    EXPECT_TRUE(log.empty());

    EXPECT_TRUE(c->checkDefaultValue(nullptr, kLButton | kControl));  // 17
    EXPECT_EQ(c->getValue(), 0.25f);
    EXPECT_EQ(log, (Log{"begin 5", "change 5 0.25", "end 5"}));
    EXPECT_EQ(frame->getFocusView(), c) << "beginEdit takes the focus";
}

TEST_F(GuiTest, EditsReachTheEffectThroughFrameAndEditor) {
    auto* c = new PlainControl(CRect(0, 0, 10, 10), &listener, 9);
    frame->addView(c);
    c->beginEdit();
    c->endEdit();
    EXPECT_EQ(log, (Log{"begin 9", "end 9"}));

    // A control outside any frame has nobody to tell.
    auto* loose = new PlainControl(CRect(0, 0, 10, 10), &listener, 3);
    loose->beginEdit();
    loose->endEdit();
    EXPECT_EQ(log.size(), 2u);
    loose->forget();
}

TEST_F(GuiTest, DoubleClickIntervalIsTheSystemsButAtLeast250) {
    hl::scriptedInput().setDoubleClickTime(100);
    auto* quick = new PlainControl(CRect(0, 0, 10, 10), &listener, 1);
    hl::scriptedInput().setDoubleClickTime(400);
    auto* slow = new PlainControl(CRect(0, 0, 10, 10), &listener, 1);
    EXPECT_EQ(quick->doubleClickInterval(), 250);
    EXPECT_EQ(slow->doubleClickInterval(), 400);
    quick->forget();
    slow->forget();
}

TEST_F(GuiTest, SharedBitmapLivesAsLongAsAViewHoldsIt) {
    hl::registerSolidBitmap(500, 20, 10, 1, 2, 3);
    auto* bitmap = new CBitmap(500);
    auto* c = new PlainControl(CRect(0, 0, 20, 10), &listener, 1, bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2);
    bitmap->forget();  // the creator hands it over
    EXPECT_EQ(c->getBackground(), bitmap);
    EXPECT_EQ(hl::liveNativeBitmaps(), 1);
    c->forget();
    EXPECT_EQ(hl::liveNativeBitmaps(), 0);
}
