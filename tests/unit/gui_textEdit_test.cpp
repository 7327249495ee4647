// The text field's edit cycle through the scripted edit box.
#include <cstring>

#include "guiTestSupport.h"

using namespace guitest;

namespace {

// A container that records the messages its children send.
class ListeningContainer : public CViewContainer {
public:
    ListeningContainer(const CRect& size, CFrame* frame, Log& log)
        : CViewContainer(size, frame), log(log) {}
    int notify(CView* sender, const char* message) override {
        if (std::strcmp(message, kMsgCheckIfViewContainer) != 0)
            log.push_back(std::string("notify ") + message);
        return CViewContainer::notify(sender, message);
    }

private:
    Log& log;
};

class TextEditTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        box = new ListeningContainer(CRect(20, 30, 180, 70), frame, log);
        box->setDrawOffscreen(false);
        field = new CTextEdit(CRect(10, 5, 110, 19), &listener, 43, "Default");
        field->setFont(kNormalFontSmall);
        field->setFontColor(CColor{76, 76, 72, 255});
        field->setBackColor(CColor{207, 222, 235, 255});
        field->setHoriAlign(kCenterText);
        box->addView(field);
        frame->addView(box);
    }
    ListeningContainer* box = nullptr;
    CTextEdit* field = nullptr;
};

}  // namespace

TEST_F(TextEditTest, PressOpensTheBoxOverTheFieldWithItsLook) {
    pressAt(40, 40);
    EXPECT_EQ(frame->getFocusView(), field);
    ASSERT_TRUE(field->isEditing());
    const hl::EditBoxRecord& made = hl::lastEditBox();
    EXPECT_EQ(made.rect.left, 30);  // in window coordinates
    EXPECT_EQ(made.rect.top, 35);
    EXPECT_EQ(made.rect.right, 130);
    EXPECT_EQ(made.rect.bottom, 49);
    EXPECT_EQ(made.initialText, "Default");
    EXPECT_EQ(made.align, platform::TextAlign::centre);
    EXPECT_EQ(made.fontFace, "Arial");
    EXPECT_EQ(made.fontHeight, 11);
    EXPECT_EQ(made.textColour.red, 76);
    EXPECT_EQ(made.backgroundColour.blue, 235);
    EXPECT_EQ(made.maxLength, 255);
    EXPECT_EQ(log, (Log{"begin 43"}));
}

TEST_F(TextEditTest, EnterCommitsAChangedTextAndTellsTheListenerOnce) {
    hl::scriptEditBox("Warm Bus", hl::EditEnd::enter);
    pressAt(40, 40);
    EXPECT_TRUE(field->isEditing()) << "the answer arrives with the window's events";
    frame->idle();
    EXPECT_FALSE(field->isEditing());
    EXPECT_STREQ(field->getText(), "Warm Bus");
    EXPECT_TRUE(field->wasReturnPressed());
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(log, (Log{"begin 43", "end 43", "change 43 0", "notify LooseFocus"}));
    EXPECT_EQ(hl::liveEditBoxes(), 0);
}

TEST_F(TextEditTest, FocusLossCommitsToo) {
    hl::scriptEditBox("Vocal", hl::EditEnd::focusLoss);
    pressAt(40, 40);
    window->processEvents();
    EXPECT_STREQ(field->getText(), "Vocal");
    EXPECT_FALSE(field->wasReturnPressed());
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(TextEditTest, AClickElsewhereEndsEditing) {
    pressAt(40, 40);
    ASSERT_NE(hl::activeEditBox(), nullptr);
    hl::activeEditBox()->type("Drums");
    pressAt(190, 90);  // empty space: the frame takes the focus away
    EXPECT_FALSE(field->isEditing());
    EXPECT_STREQ(field->getText(), "Drums");
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(TextEditTest, AnUnchangedTextTellsNobody) {
    hl::scriptEditBox("Default", hl::EditEnd::enter);
    pressAt(40, 40);
    frame->idle();
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(log, (Log{"begin 43", "end 43", "notify LooseFocus"}));
}

TEST_F(TextEditTest, TypedTextIsLimitedTo255Characters) {
    hl::scriptEditBox(std::string(300, 'n'), hl::EditEnd::enter);
    pressAt(40, 40);
    frame->idle();
    EXPECT_EQ(std::strlen(field->getText()), 255u);
    field->setText(std::string(400, 'm').c_str());
    EXPECT_EQ(std::strlen(field->getText()), 255u);
}

TEST_F(TextEditTest, SetTextMarksDirtyOnlyWhenTheTextChanges) {
    frame->redrawView(field);
    EXPECT_FALSE(field->isDirty());
    field->setText("Default");
    EXPECT_FALSE(field->isDirty());
    field->setText("Other");
    EXPECT_TRUE(field->isDirty());
    char copy[256];
    field->getText(copy);
    EXPECT_STREQ(copy, "Other");
}

TEST_F(TextEditTest, DoubleClickStyleOpensOnTheSecondQuickPress) {
    hl::scriptedInput().setDoubleClickTime(400);
    auto* slow = new CTextEdit(CRect(0, 80, 60, 95), &listener, 7, "x", nullptr,
                               kDoubleClickStyle);
    frame->addView(slow);
    pressAt(5, 85);
    EXPECT_FALSE(slow->isEditing());
    hl::fakeClock().advance(401);
    pressAt(5, 85);
    EXPECT_FALSE(slow->isEditing()) << "too slow: a new first press";
    hl::fakeClock().advance(399);
    pressAt(5, 85);
    EXPECT_TRUE(slow->isEditing());
}

TEST_F(TextEditTest, ClosingTheEditorWhileEditingAbandonsTheEditQuietly) {
    pressAt(40, 40);
    hl::activeEditBox()->type("half typed");
    log.clear();
    editor->close();
    EXPECT_EQ(hl::liveEditBoxes(), 0);
    EXPECT_TRUE(log.empty());
}
