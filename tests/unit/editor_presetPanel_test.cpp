// The preset panel as a user works it: the menu, the name field, the rocker,
// the hover pictures, the file buttons and the memory buttons.
#include "editorTestSupport.h"

#include <filesystem>

#include "editor/CPSOnOffButton.h"
#include "editor/CPSRockerSwitch.h"
#include "editor/CSaveLoadButton.h"

using namespace editortest;

namespace {

const CRect kNameField(138, 285, 251, 299);
const CRect kMenu(254, 285, 264, 299);
const CRect kRocker(269, 285, 300, 299);
const CRect kLoadBank(119, 294, 131, 308);
const CRect kSaveBank(55, 294, 67, 308);
const CRect kLoadPreset(119, 278, 131, 292);
const CRect kSavePreset(55, 278, 67, 292);
const CRect kRecallA(327, 278, 339, 292);
const CRect kRecallB(327, 294, 339, 308);
const CRect kStoreA(302, 278, 314, 292);
const CRect kStoreB(302, 294, 314, 308);

class EditorPanel : public EditorTest {
protected:
    // The panel's control with `tag`.
    CControl* control(int tag) {
        CFrame* frame = editor->getFrame();
        for (int i = 0; i < frame->getNbViews(); ++i) {
            auto* c = static_cast<CControl*>(frame->getView(i));
            if (c->getTag() == tag) return c;
        }
        return nullptr;
    }
    std::string slotName(int slot) {
        char name[25];
        effect->getBankProgram(slot)->getName(name);
        return name;
    }
    std::string fieldText() { return editor->getNameField()->getText(); }
    std::string menuEntry(int entry) {
        char text[256];
        return editor->getPresetMenu()->getEntry(entry, text) ? text : "?";
    }
    int currentSlot() { return effect->getCurrentPreset(); }
    static CPoint middle(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    void click(const CRect& r) {
        later();
        press(middle(r).h, middle(r).v);
    }
    // A press held for `polls` polls of the button.
    void hold(const CRect& r, int polls) {
        later();
        const CPoint m = middle(r);
        gesture(m.h, m.v, kLButton, {{kLButton, m.h, m.v, polls}});
    }
    void chooseMenuEntry(int entry) {
        hl::scriptMenuChoice(entry);
        click(kMenu);
    }
};

}  // namespace

TEST_F(EditorPanel, ControlsSitAlongTheBottomEdge) {
    const struct {
        int tag;
        CRect r;
    } places[] = {{43, kNameField}, {49, kMenu},       {44, kRocker},      {45, kLoadBank},
                  {46, kSaveBank},  {47, kLoadPreset}, {48, kSavePreset},  {50, kRecallA},
                  {51, kRecallB},   {52, kStoreA},     {53, kStoreB}};
    for (const auto& p : places) {
        ASSERT_NE(control(p.tag), nullptr) << p.tag;
        EXPECT_EQ(control(p.tag)->getSize(), p.r) << p.tag;
    }
    EXPECT_EQ(fieldText(), slotName(currentSlot()));
    // The field shows the panel picture's light field under its centred text.
    EXPECT_TRUE(showsArtwork(CRect(139, 286, 145, 290), 12128, CPoint(139, 286)));

    auto* menu = editor->getPresetMenu();
    ASSERT_EQ(menu->getNbEntries(), 34);
    EXPECT_EQ(menuEntry(0), "Current");
    EXPECT_EQ(menuEntry(1), "-");
    EXPECT_EQ(menuEntry(2), "Default");
    EXPECT_EQ(menuEntry(33), "Bus Comp 3");
    EXPECT_EQ(menu->getStyle(), 0x1400);
    EXPECT_EQ(menu->getNbItemsPerColumn(), 16);
    EXPECT_EQ(menu->getCurrent(nullptr, false), currentSlot());
}

TEST_F(EditorPanel, ChoosingMenuEntrySevenSelectsSlotSix) {
    chooseMenuEntry(7);
    EXPECT_EQ(currentSlot(), 6);
    EXPECT_EQ(fieldText(), "CompressHeavy1");
    EXPECT_EQ(menuEntry(0), "CompressHeavy1");
    EXPECT_EQ(menuEntry(7), "CompressHeavy1");
    EXPECT_FLOAT_EQ(parameter(2), 4.0f / 6.0f) << "the slot's ratio reached the effect";
    EXPECT_EQ(editor->getKnob(2)->getValue(), parameter(2));

    // The pop-up: 33 presets and the separator in three columns of 16, the
    // current entry checked, opening below the menu's place.
    const hl::MenuRecord& shown = hl::lastMenu();
    ASSERT_EQ(shown.items.size(), 34u);
    EXPECT_EQ(shown.columns(), 3);
    EXPECT_TRUE(shown.items[1].separator);
    EXPECT_EQ(shown.items[0].flags & platform::kMenuChecked, platform::kMenuChecked);
    EXPECT_EQ(shown.where.y, window->screenOrigin().y + kMenu.bottom);
    hl::scriptMenuChoice(-1);
    click(kMenu);
    EXPECT_EQ(hl::lastMenu().items[7].flags & platform::kMenuChecked, platform::kMenuChecked);
    EXPECT_EQ(currentSlot(), 6) << "closing the menu without a choice changes nothing";
}

TEST_F(EditorPanel, ATypedNameIsCutToTwentyFourCharactersInThePresetAndSlotZero) {
    chooseMenuEntry(12);  // slot 11
    hostEvents().clear();
    const std::string typed = "Thirty characters of new name!";
    ASSERT_EQ(typed.size(), 30u);
    hl::scriptEditBox(typed, hl::EditEnd::enter);
    click(kNameField);
    ASSERT_NE(hl::activeEditBox(), nullptr) << "the field opened its edit box";
    EXPECT_EQ(hl::lastEditBox().fontHeight, 11);
    EXPECT_EQ(hl::lastEditBox().rect.left, 138);
    idle();  // the typing arrives
    EXPECT_EQ(hl::activeEditBox(), nullptr);
    const std::string cut = typed.substr(0, 24);
    EXPECT_EQ(slotName(11), cut);
    EXPECT_EQ(slotName(0), cut);
    EXPECT_EQ(fieldText(), cut);
    EXPECT_EQ(menuEntry(12), cut);
    EXPECT_EQ(menuEntry(0), cut);
    // The host hears of the new name, and of no edit of the field's tag.
    bool refreshed = false;
    for (const HostEvent& e : hostEvents()) {
        refreshed |= e.opcode == vst2::audioMasterUpdateDisplay;
        EXPECT_NE(e.opcode, vst2::audioMasterBeginEdit);
        EXPECT_NE(e.opcode, vst2::audioMasterEndEdit);
    }
    EXPECT_TRUE(refreshed);
}

TEST_F(EditorPanel, RockerHalvesStepAndStopAtTheEndsOfTheBank) {
    const CPoint left(273, 292), right(296, 292);
    ASSERT_EQ(currentSlot(), 0);
    later();
    press(right.h, right.v);
    EXPECT_EQ(currentSlot(), 1);
    EXPECT_EQ(fieldText(), "Default");
    EXPECT_EQ(menuEntry(0), "Default");
    EXPECT_EQ(editor->getPresetMenu()->getCurrent(nullptr, false), 1);
    later();
    press(left.h, left.v);
    EXPECT_EQ(currentSlot(), 0) << "slot 1 steps down to the working program";
    later();
    press(left.h, left.v);
    EXPECT_EQ(currentSlot(), 0) << "and no further";

    chooseMenuEntry(33);  // slot 32
    ASSERT_EQ(currentSlot(), 32);
    later();
    press(right.h, right.v);
    EXPECT_EQ(currentSlot(), 32);
    EXPECT_EQ(fieldText(), "Bus Comp 3");

    // The dividing column belongs to the left half.
    later();
    press(269 + 15, 292);
    EXPECT_EQ(currentSlot(), 31);
    EXPECT_EQ(control(44)->getValue(), 0.0f);

    // Neither a right press nor the wheel steps presets.
    later();
    press(right.h, right.v, kRButton);
    window->sendWheel(screen(right.h, right.v), -120);
    EXPECT_EQ(currentSlot(), 31);
}

TEST_F(EditorPanel, HoverPicturesFollowThePointerOnTheNextIdle) {
    auto* rocker = static_cast<CPSRockerSwitch*>(control(44));
    auto* loadBank = static_cast<CSaveLoadButton*>(control(45));
    auto* storeA = static_cast<CPSOnOffButton*>(control(52));
    EXPECT_TRUE(showsFrame(kRocker, 19997, 0, 14));

    pointAt(296, 292);
    idle();
    EXPECT_EQ(rocker->getHoverState(), 2);
    idle();
    EXPECT_TRUE(showsFrame(kRocker, 19997, 2, 14)) << "right half";
    pointAt(272, 290);
    idle();
    idle();
    EXPECT_TRUE(showsFrame(kRocker, 19997, 1, 14)) << "left half";

    pointAt(125, 300);
    idle();
    EXPECT_EQ(rocker->getHoverState(), 0);
    EXPECT_TRUE(loadBank->isHovered());
    idle();
    EXPECT_TRUE(showsFrame(kRocker, 19997, 0, 14));
    EXPECT_TRUE(showsFrame(kLoadBank, 19993, 1, 14));

    // Onto the name field, which has no hover picture: the button lets go.
    pointAt(190, 292);
    idle();
    idle();
    EXPECT_FALSE(loadBank->isHovered());
    EXPECT_TRUE(showsFrame(kLoadBank, 19993, 0, 14));

    pointAt(308, 284);
    idle();
    idle();
    EXPECT_TRUE(storeA->isHovered());
    EXPECT_TRUE(showsFrame(kStoreA, 19995, 1, 14));
}

TEST_F(EditorPanel, AFileButtonShowsItsPressedPictureUntilReleasedAfterTheDialog) {
    hl::queueDialogAnswer(std::nullopt);  // the user cancels
    hold(kLoadBank, 60);
    ASSERT_EQ(hl::dialogRequests().size(), 1u);
    EXPECT_EQ(hl::dialogRequests()[0].title, "Select bank to load...");
    // Painted while the button was held after the dialog had closed.
    EXPECT_TRUE(showsFrame(kLoadBank, 19993, 2, 14));
    EXPECT_EQ(control(45)->getValue(), 0.0f) << "released";
    idle();
    EXPECT_TRUE(showsFrame(kLoadBank, 19993, 1, 14)) << "hovered, no longer pressed";
    // The end of an edit that is no parameter does not reach the host.
    for (const HostEvent& e : hostEvents()) EXPECT_NE(e.opcode, vst2::audioMasterEndEdit);

    const struct {
        CRect r;
        const char* title;
    } others[] = {{kSaveBank, "Save bank as..."},
                  {kLoadPreset, "Select preset to load..."},
                  {kSavePreset, "Save preset as..."}};
    for (const auto& o : others) {
        click(o.r);
        EXPECT_EQ(hl::dialogRequests().back().title, o.title);
    }
    later();
    press(middle(kSaveBank).h, middle(kSaveBank).v, kRButton);
    EXPECT_EQ(hl::dialogRequests().size(), 4u) << "a right press opens nothing";
}

TEST_F(EditorPanel, BankFilesRoundTripThroughTheButtons) {
    const std::string path =
        (std::filesystem::path(KVBR_TEST_OUTPUT_DIR) / "editor-panel-test.kvb").string();
    hl::queueDialogAnswer(path);
    click(kSaveBank);
    chooseMenuEntry(5);  // slot 4
    hl::scriptEditBox("Renamed", hl::EditEnd::enter);
    click(kNameField);
    idle();
    ASSERT_EQ(slotName(4), "Renamed");

    hl::queueDialogAnswer(path);
    click(kLoadBank);
    EXPECT_EQ(slotName(4), "CompressMed1");
    EXPECT_EQ(menuEntry(5), "CompressMed1");
    EXPECT_EQ(currentSlot(), 0) << "a loaded bank selects the working program";
    EXPECT_EQ(editor->getPresetMenu()->getCurrent(nullptr, false), 0);
    EXPECT_EQ(fieldText(), slotName(0));
    std::filesystem::remove(path);
}

TEST_F(EditorPanel, AMemoryButtonActsAsItGoesDown) {
    effect->setParameter(6, 0.75f);
    hold(kStoreA, 20);
    effect->setParameter(6, 0.25f);
    hostEvents().clear();

    const int pollsBefore = hl::scriptedInput().buttonPolls();
    hold(kRecallA, 30);
    EXPECT_EQ(parameter(6), 0.75f);
    int automated = 0;
    for (const HostEvent& e : hostEvents())
        if (e.opcode == vst2::audioMasterAutomate) {
            ++automated;
            EXPECT_EQ(e.buttonPolls, pollsBefore + 1) << "only the press itself had been polled";
        }
    EXPECT_EQ(automated, 12);
    EXPECT_GE(hl::scriptedInput().buttonPolls(), pollsBefore + 31);
    EXPECT_TRUE(showsFrame(kRecallA, 19991, 2, 14)) << "pressed while held";
    idle();
    EXPECT_FALSE(showsFrame(kRecallA, 19991, 2, 14));
}

TEST_F(EditorPanel, TheHostsProgramNameShowsInTheFieldAndTheMenu) {
    chooseMenuEntry(9);  // slot 8
    char name[] = "Night Bus";
    effect->dispatcher(vst2::effSetProgramName, 0, 0, name, 0.0f);
    idle();  // the panel learns of it here, never from the host's call
    EXPECT_EQ(fieldText(), "Night Bus");
    EXPECT_EQ(menuEntry(0), "Night Bus");
    EXPECT_EQ(menuEntry(9), "Night Bus");
    EXPECT_EQ(slotName(8), "Night Bus");
}
