// The option menu: entries, the current entry with and without separators,
// check marks, columns, and choosing from the pop-up.
#include "guiTestSupport.h"

using namespace guitest;

namespace {

std::string label(const char* prefix, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%d", prefix, n);
    return text;
}

class MenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        menu = new COptionMenu(CRect(100, 60, 110, 74), &listener, 49);
        frame->addView(menu);
    }
    // The preset panel's layout: the working program, a separator, 32 slots.
    void fillLikeThePresetPanel() {
        menu->addEntry("Current");
        menu->addEntry("-");
        for (int i = 1; i <= 32; ++i) menu->addEntry(label("Slot ", i).c_str());
    }
    std::string current(bool countSeparator) {
        char text[256];
        const int index = menu->getCurrent(text, countSeparator);
        return std::to_string(index) + " " + text;
    }
    COptionMenu* menu = nullptr;
};

}  // namespace

TEST_F(MenuTest, CurrentEntryCountsWithOrWithoutSeparators) {
    EXPECT_EQ(menu->getCurrent(), -1) << "an empty menu has no current entry";
    fillLikeThePresetPanel();
    EXPECT_EQ(menu->getNbEntries(), 34);
    EXPECT_EQ(current(true), "0 Current") << "the first entry becomes current";

    ASSERT_TRUE(menu->setCurrent(6, false));  // slot 6 is raw entry 7
    EXPECT_EQ(current(true), "7 Slot 6");
    EXPECT_EQ(current(false), "6 Slot 6");

    EXPECT_FALSE(menu->setCurrent(1, true)) << "a separator cannot be current";
    EXPECT_TRUE(menu->setCurrent(1, false));
    EXPECT_EQ(current(true), "2 Slot 1");
    EXPECT_TRUE(menu->setCurrent(32, false));
    EXPECT_EQ(current(true), "33 Slot 32");
    EXPECT_FALSE(menu->setCurrent(33, false)) << "only 33 countable entries";
    EXPECT_FALSE(menu->setCurrent(34, true));
    EXPECT_FALSE(menu->setCurrent(-1, true));
    EXPECT_EQ(current(true), "33 Slot 32");

    // Titles are not counted either.
    menu->addEntry("-TTitle", 0);
    EXPECT_EQ(current(false), "32 Slot 32");
}

TEST_F(MenuTest, SetCurrentMarksTheMenuDirty) {
    fillLikeThePresetPanel();
    frame->redrawView(menu);
    EXPECT_FALSE(menu->isDirty());
    menu->setCurrent(3, false);
    EXPECT_TRUE(menu->isDirty());
}

TEST_F(MenuTest, InsertingAndRemovingMoveTheCurrentIndex) {
    for (int i = 0; i < 8; ++i) menu->addEntry(label("E", i).c_str());
    menu->setCurrent(5);
    menu->addEntry("new", 0);
    EXPECT_EQ(current(true), "6 E5");
    menu->addEntry("late", 7);  // after the current one
    EXPECT_EQ(current(true), "6 E5");
    menu->addEntry("end", 99);  // past the end appends
    EXPECT_EQ(menu->getIndex("end"), 10);

    menu->removeEntry(0);
    EXPECT_EQ(current(true), "5 E5");
    menu->removeEntry(5);  // the current entry itself: its predecessor takes over
    EXPECT_EQ(current(true), "4 E4");
    menu->removeEntry(8);
    EXPECT_EQ(current(true), "4 E4");
    EXPECT_FALSE(menu->removeEntry(50));

    menu->setCurrent(0);
    menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), 0) << "a menu with entries keeps one current";
    while (menu->getNbEntries() > 0) menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), -1);
}

TEST_F(MenuTest, EntriesAreCutAndLimited) {
    const std::string longText(300, 'x');
    menu->addEntry(longText.c_str());
    char text[256];
    ASSERT_TRUE(menu->getEntry(0, text));
    EXPECT_EQ(std::string(text), std::string(255, 'x'));
    EXPECT_TRUE(menu->setEntry(0, "short"));
    EXPECT_EQ(menu->getIndex("short"), 0);
    EXPECT_EQ(menu->getIndex("missing"), -1);
    EXPECT_FALSE(menu->setEntry(1, "x"));
    for (int i = 1; i < COptionMenu::kMaxEntries; ++i) ASSERT_TRUE(menu->addEntry("e"));
    EXPECT_FALSE(menu->addEntry("one too many"));
    EXPECT_TRUE(menu->removeAllEntry());
    EXPECT_EQ(menu->getNbEntries(), 0);
}

TEST_F(MenuTest, CheckMarksFollowTheStyle) {
    menu->addEntry("a");
    menu->addEntry("b");
    menu->addEntry("c");
    menu->checkEntry(0, true);
    menu->checkEntry(2, true);
    EXPECT_TRUE(menu->isCheckEntry(0));
    menu->checkEntryAlone(1);
    EXPECT_FALSE(menu->isCheckEntry(0));
    EXPECT_TRUE(menu->isCheckEntry(1));
    EXPECT_FALSE(menu->isCheckEntry(2));

    // The check style marks the current entry in the pop-up.
    menu->setStyle(kCheckStyle | kNoDrawStyle);
    menu->setCurrent(2);
    pressAt(105, 65);
    const hl::MenuRecord& shown = hl::lastMenu();
    ASSERT_EQ(shown.items.size(), 3u);
    EXPECT_FALSE(shown.items[0].flags & platform::kMenuChecked);
    EXPECT_FALSE(shown.items[1].flags & platform::kMenuChecked);
    EXPECT_TRUE(shown.items[2].flags & platform::kMenuChecked);

    // The per-entry style shows the flags, and selecting toggles the flag.
    menu->setStyle(kMultipleCheckStyle);
    menu->setCurrent(0);
    EXPECT_TRUE(menu->isCheckEntry(0));
    pressAt(105, 65);
    EXPECT_TRUE(hl::lastMenu().items[0].flags & platform::kMenuChecked);
    EXPECT_TRUE(hl::lastMenu().items[1].flags & platform::kMenuChecked);
    EXPECT_FALSE(hl::lastMenu().items[2].flags & platform::kMenuChecked);
}

TEST_F(MenuTest, ThirtyThreeEntriesWithSixteenPerColumnShowThreeColumns) {
    for (int i = 0; i < 33; ++i) menu->addEntry(label("E", i).c_str());
    menu->setNbItemsPerColumn(16);
    pressAt(105, 65);
    const hl::MenuRecord& shown = hl::lastMenu();
    EXPECT_EQ(shown.columns(), 3);
    for (std::size_t i = 0; i < shown.items.size(); ++i)
        EXPECT_EQ((shown.items[i].flags & platform::kMenuColumnBreak) != 0, i == 16 || i == 32)
            << "entry " << i;

    // The preset panel's menu: the separator counts as a shown entry.
    menu->removeAllEntry();
    fillLikeThePresetPanel();
    pressAt(105, 65);
    EXPECT_EQ(hl::lastMenu().columns(), 3);
    EXPECT_TRUE(hl::lastMenu().items[1].separator);
    EXPECT_TRUE(hl::lastMenu().items[16].flags & platform::kMenuColumnBreak);
}

TEST_F(MenuTest, SpecialEntriesShowAsTitlesGreyedOrNotAtAll) {
    menu->addEntry("-TPresets");
    menu->addEntry("-GLocked");
    menu->addEntry("-MSub");
    menu->addEntry("Plain");
    pressAt(105, 65);
    const auto& items = hl::lastMenu().items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "Presets");
    EXPECT_TRUE(items[0].flags & platform::kMenuDisabled);
    EXPECT_EQ(items[1].text, "Locked");
    EXPECT_TRUE(items[1].flags & platform::kMenuGreyed);
    EXPECT_EQ(items[2].text, "Plain");
    EXPECT_EQ(items[2].command, 3) << "commands are entry indexes";
}

TEST_F(MenuTest, ChoosingAnEntrySelectsItAndTellsTheListener) {
    fillLikeThePresetPanel();
    menu->setDirty(false);
    hl::scriptMenuChoice(7);
    pressAt(105, 65);
    EXPECT_EQ(current(false), "6 Slot 6");
    EXPECT_EQ(menu->getValue(), 7.0f);
    EXPECT_EQ(menu->getLastResult(), menu);
    EXPECT_EQ(log, (Log{"begin 49", "change 49 7", "end 49"}));
    EXPECT_EQ(frame->getFocusView(), nullptr);

    // Shown under the control, in screen coordinates.
    const hl::MenuRecord& shown = hl::lastMenu();
    EXPECT_EQ(shown.where.x, screen(100, 74).x);
    EXPECT_EQ(shown.where.y, screen(100, 74).y);
    EXPECT_FALSE(shown.above);

    // Closing without a choice changes nothing and tells nobody.
    log.clear();
    pressAt(105, 65);
    EXPECT_EQ(current(false), "6 Slot 6");
    EXPECT_EQ(log, (Log{"begin 49", "end 49"}));

    // A right-button press opens it too, tracking the right button; the
    // pop-up-above style opens it over the control.
    menu->setStyle(kPopupStyle);
    pressAt(105, 65, kRButton);
    EXPECT_TRUE(hl::lastMenu().rightButton);
    EXPECT_TRUE(hl::lastMenu().above);
    EXPECT_EQ(hl::lastMenu().where.y, screen(100, 60).y);
    EXPECT_EQ(hl::menusShown(), 3);
    pressAt(105, 65, kMButton);
    EXPECT_EQ(hl::menusShown(), 3) << "the middle button alone does not open it";
}
