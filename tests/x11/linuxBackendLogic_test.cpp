// The parts of the Linux editor backend that need no X server: the edit box's
// text rules, the pop-up menu's layout, the desktop's settings blob and the
// dialog tools' command lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/childProcess.h"
#include "platform/linux/dialogCommand.h"
#include "platform/linux/editLine.h"
#include "platform/linux/menuLayout.h"
#include "platform/linux/xsettings.h"
#include "platform/popupMenu.h"

using namespace platform;
using namespace platform::linux_backend;

TEST(EditLine, OpensWithEverythingSelectedSoTypingReplacesIt) {
    EditLine line("Gentle Bus", 255);
    EXPECT_EQ(line.selectionStart(), 0);
    EXPECT_EQ(line.selectionEnd(), 10);
    line.insert("Vocal");
    EXPECT_EQ(line.text(), "Vocal");
    EXPECT_EQ(line.caret(), 5);
    EXPECT_FALSE(line.hasSelection());
}

TEST(EditLine, CaretKeysBackspaceAndDelete) {
    EditLine line("abcd", 255);
    line.left(false);  // collapses the selection to its start
    EXPECT_EQ(line.caret(), 0);
    line.end(false);
    line.backspace();
    EXPECT_EQ(line.text(), "abc");
    line.home(false);
    line.right(false);
    line.deleteForward();
    EXPECT_EQ(line.text(), "ac");
    line.right(true);  // Shift+Right selects "c"
    line.insert("XY");
    EXPECT_EQ(line.text(), "aXY");
    line.backspace();
    line.backspace();
    line.backspace();
    line.backspace();  // nothing left to delete
    EXPECT_EQ(line.text(), "");
    line.deleteForward();
    EXPECT_EQ(line.caret(), 0);
}

TEST(EditLine, KeepsToTheLimitAndDropsControlCharacters) {
    EditLine line(std::string(300, 'x'), 255);
    EXPECT_EQ(line.text().size(), 255u);  // cut on opening
    line.end(false);
    line.insert("more");
    EXPECT_EQ(line.text().size(), 255u);
    line.backspace();
    line.insert("abc");  // only one fits
    EXPECT_EQ(line.text().back(), 'a');
    EditLine other("", 10);
    other.insert("a\tb\x7f" "c\n");
    EXPECT_EQ(other.text(), "abc");
    other.insert("\xe9t\xe9");  // Latin-1 letters are text
    EXPECT_EQ(other.text(), "abc\xe9t\xe9");
}

namespace {

std::vector<MenuEntry> entries(int count, int perColumn) {
    std::vector<MenuEntry> list;
    for (int i = 0; i < count; ++i) {
        MenuEntry e;
        e.text = "Entry " + std::to_string(i);
        e.command = i;
        if (perColumn > 0 && i > 0 && i % perColumn == 0) e.flags |= kMenuColumnBreak;
        list.push_back(e);
    }
    return list;
}

int fixedWidth(const MenuEntry& e) { return static_cast<int>(e.text.size()) * 7; }

}  // namespace

TEST(MenuLayout, ColumnBreaksStartNewColumnsSideBySide) {
    const auto list = entries(33, 16);
    const MenuGeometry g = layoutMenu(list, fixedWidth);
    ASSERT_EQ(g.columnLefts.size(), 3u);
    EXPECT_EQ(g.entries[16].top, kMenuBorder);
    EXPECT_EQ(g.entries[16].left, g.entries[15].right + 1);
    EXPECT_EQ(g.entries[32].left, g.columnLefts[2]);
    EXPECT_EQ(g.height, 16 * kMenuEntryHeight + 2 * kMenuBorder);
    EXPECT_EQ(g.width, g.entries[32].right + kMenuBorder);
    // Every entry is found where it is drawn.
    for (int i = 0; i < 33; ++i) {
        const Rect& r = g.entries[static_cast<std::size_t>(i)];
        EXPECT_EQ(entryAt(g, Point{r.left + 3, r.top + 3}), i);
    }
    EXPECT_EQ(entryAt(g, Point{g.width + 5, 5}), -1);
}

TEST(MenuLayout, SeparatorsAreThinAndNothingButPlainEntriesCanBeChosen) {
    std::vector<MenuEntry> list = entries(4, 0);
    list[1].separator = true;
    list[2].flags = kMenuGreyed;
    list[3].flags = kMenuDisabled;
    const MenuGeometry g = layoutMenu(list, fixedWidth);
    EXPECT_EQ(g.entries[1].height(), kMenuSeparatorHeight);
    EXPECT_TRUE(choosable(list[0]));
    EXPECT_FALSE(choosable(list[1]));
    EXPECT_FALSE(choosable(list[2]));
    EXPECT_FALSE(choosable(list[3]));
    EXPECT_EQ(nextChoosable(list, -1, 1), 0);
    EXPECT_EQ(nextChoosable(list, 0, 1), 0);  // wraps back to the only one
    list[2].flags = 0;
    EXPECT_EQ(nextChoosable(list, 0, 1), 2);
    EXPECT_EQ(nextChoosable(list, 0, -1), 2);
    EXPECT_EQ(nextChoosable({}, -1, 1), -1);
}

TEST(MenuLayout, StaysOnTheScreenAndOpensAboveWhenAskedOrWhenThereIsNoRoomBelow) {
    const Rect screen{0, 0, 1280, 1024};
    Point p = placeMenu(Point{100, 200}, false, 150, 300, screen);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 200);
    p = placeMenu(Point{100, 500}, true, 150, 300, screen);
    EXPECT_EQ(p.y, 200);  // bottom edge at the point
    p = placeMenu(Point{1200, 900}, false, 150, 300, screen);
    EXPECT_EQ(p.x, 1130);
    EXPECT_EQ(p.y, 600);  // flipped above
    p = placeMenu(Point{-20, 100}, true, 150, 300, screen);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 100);  // no room above: below
    p = placeMenu(Point{10, 10}, false, 150, 2000, screen);
    EXPECT_EQ(p.y, 0);
}

namespace {

void put32(std::vector<unsigned char>& out, std::uint32_t v, bool big) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(big ? v >> (8 * (3 - i)) : v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, std::uint16_t v, bool big) {
    out.push_back(static_cast<unsigned char>(big ? v >> 8 : v));
    out.push_back(static_cast<unsigned char>(big ? v : v >> 8));
}
void putName(std::vector<unsigned char>& out, const std::string& name, bool big) {
    put16(out, static_cast<std::uint16_t>(name.size()), big);
    out.insert(out.end(), name.begin(), name.end());
    while (out.size() % 4) out.push_back(0);
    put32(out, 7, big);  // last change serial
}

// A settings blob as a desktop publishes it: a string, a colour, then integers.
std::vector<unsigned char> blob(bool big, int doubleClick) {
    std::vector<unsigned char> out{static_cast<unsigned char>(big ? 1 : 0), 0, 0, 0};
    put32(out, 3, big);
    put32(out, 4, big);
    out.push_back(1);
    out.push_back(0);
    putName(out, "Net/ThemeName", big);
    put32(out, 5, big);
    out.insert(out.end(), {'A', 'd', 'w', 'a', 'i', 0, 0, 0});
    out.push_back(2);
    out.push_back(0);
    putName(out, "Gtk/Colour", big);
    for (int i = 0; i < 4; ++i) put16(out, 0xFFFF, big);
    out.push_back(0);
    out.push_back(0);
    putName(out, "Net/DoubleClickTime", big);
    put32(out, static_cast<std::uint32_t>(doubleClick), big);
    out.push_back(0);
    out.push_back(0);
    putName(out, "Net/DndDragThreshold", big);
    put32(out, 8, big);
    return out;
}

}  // namespace

TEST(XSettings, FindsTheDoubleClickTimeInEitherByteOrder) {
    for (bool big : {false, true}) {
        const auto data = blob(big, 250);
        EXPECT_EQ(findXSettingsInteger(data.data(), data.size(), "Net/DoubleClickTime"), 250);
        EXPECT_EQ(findXSettingsInteger(data.data(), data.size(), "Net/DndDragThreshold"), 8);
        EXPECT_FALSE(findXSettingsInteger(data.data(), data.size(), "Net/ThemeName"));
    }
}

TEST(XSettings, CutOrDamagedBlobsAnswerNothing) {
    const auto data = blob(false, 250);
    for (std::size_t n = 0; n < data.size(); ++n)
        EXPECT_FALSE(findXSettingsInteger(data.data(), n, "Net/DndDragThreshold")) << n;
    auto bad = data;
    bad[0] = 7;  // no such byte order
    EXPECT_FALSE(findXSettingsInteger(bad.data(), bad.size(), "Net/DoubleClickTime"));
    bad = data;
    bad[12] = 9;  // the first setting has no known type
    EXPECT_FALSE(findXSettingsInteger(bad.data(), bad.size(), "Net/DoubleClickTime"));
    bad = data;
    bad[8] = 0xFF;  // claims more settings than there are
    bad[9] = 0xFF;
    EXPECT_EQ(findXSettingsInteger(bad.data(), bad.size(), "Net/DoubleClickTime"), 250);
    EXPECT_FALSE(findXSettingsInteger(bad.data(), bad.size(), "Missing"));
}

namespace {

FileDialogRequest bankSave() {
    FileDialogRequest r;
    r.kind = FileDialogRequest::Kind::save;
    r.title = "Save bank as...";
    r.filters = {{"All Files", "*.*"}, {"Korvane Banks", "*.kvb"}};
    r.selectedFilter = 2;
    r.defaultExtension = "kvb";
    r.startFolder = "/home/me/banks";
    r.proposedFileName = "live.kvb";
    r.promptOverwrite = true;
    return r;
}

}  // namespace

TEST(DialogCommand, ZenityGetsTitleStartFileOverwritePromptAndSelectedFilterFirst) {
    const std::vector<std::string> argv = fileDialogCommand(DialogTool::zenity, bankSave());
    const std::vector<std::string> expected{"zenity",
                                            "--file-selection",
                                            "--title=Save bank as...",
                                            "--save",
                                            "--confirm-overwrite",
                                            "--filename=/home/me/banks/live.kvb",
                                            "--file-filter=Korvane Banks | *.kvb",
                                            "--file-filter=All Files | *"};
    EXPECT_EQ(argv, expected);
    FileDialogRequest open = bankSave();
    open.kind = FileDialogRequest::Kind::open;
    open.startFolder = "/tmp/";
    open.proposedFileName = "";
    open.selectedFilter = 1;
    const auto openArgv = fileDialogCommand(DialogTool::zenity, open);
    EXPECT_EQ(openArgv[2], "--title=Save bank as...");
    EXPECT_EQ(openArgv[3], "--filename=/tmp/");
    EXPECT_EQ(openArgv[4], "--file-filter=All Files | *");
    EXPECT_EQ(openArgv.size(), 6u);
}

TEST(DialogCommand, KdialogGetsTheSameInItsOwnWords) {
    const auto argv = fileDialogCommand(DialogTool::kdialog, bankSave());
    const std::vector<std::string> expected{"kdialog", "--title", "Save bank as...",
                                            "--getsavefilename", "/home/me/banks/live.kvb",
                                            "Korvane Banks (*.kvb)\nAll Files (*)"};
    EXPECT_EQ(argv, expected);
    const auto message = messageCommand(DialogTool::kdialog, "Error...", "Not a bank file!",
                                        MessageIcon::error);
    EXPECT_EQ(message, (std::vector<std::string>{"kdialog", "--title", "Error...", "--error",
                                                 "Not a bank file!"}));
    const auto zenityMessage =
        messageCommand(DialogTool::zenity, "Error...", "<b>x</b>", MessageIcon::error);
    EXPECT_EQ(zenityMessage, (std::vector<std::string>{"zenity", "--error", "--title=Error...",
                                                       "--text=<b>x</b>", "--no-markup"}));
    EXPECT_EQ(replaceQuestionCommand(DialogTool::zenity, "Save", "/a/b.kvb")[3],
              "--text=b.kvb already exists.\nDo you want to replace it?");
}

TEST(DialogCommand, DefaultExtensionOnlyForBareNames) {
    EXPECT_EQ(withDefaultExtension("/a/live", "kvb"), "/a/live.kvb");
    EXPECT_EQ(withDefaultExtension("/a/live.kvb", "kvb"), "/a/live.kvb");
    EXPECT_EQ(withDefaultExtension("/a/live.txt", "kvb"), "/a/live.txt");
    EXPECT_EQ(withDefaultExtension("/a.b/live", "kvb"), "/a.b/live.kvb");
    EXPECT_EQ(withDefaultExtension("/a/", "kvb"), "/a/");
    EXPECT_EQ(withDefaultExtension("/a/live", ""), "/a/live");
    EXPECT_EQ(answeredPath("/a/live.kvb\n"), "/a/live.kvb");
    EXPECT_EQ(answeredPath(""), "");
}

TEST(ChildProcess, CapturesOutputAndExitCodeAndKeepsCallingBack) {
    int calls = 0;
    ChildOutcome run =
        runChild({"sh", "-c", "sleep 0.2; printf '/x/y.kvp\\n'; exit 3"}, [&] { ++calls; });
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.statusKnown);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.output, "/x/y.kvp\n");
    EXPECT_GE(calls, 5);  // about every 20 ms while it slept
    // A program that leaves a helper holding its output open still ends the wait.
    run = runChild({"sh", "-c", "(sleep 2 &) ; echo done"}, nullptr);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "done\n");
    EXPECT_FALSE(runChild({"kvbr-no-such-program"}, nullptr).started);
    EXPECT_TRUE(onPath("sh"));
    EXPECT_FALSE(onPath("kvbr-no-such-program"));
}
