// File dialogs and messages through a dialog tool (a stand-in "zenity" on
// $PATH that records its arguments and answers as told), the editor
// repainting meanwhile, and the plug-in's own message window when no tool is
// installed.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "gui/CFrame.h"
#include "platform/fileDialog.h"
#include "platform/linux/x11MessageWindow.h"
#include "platform/messageBox.h"
#include "platform/window.h"
#include "x11Fixture.h"

using namespace x11test;
namespace lb = platform::linux_backend;

namespace {

constexpr const char* kFakeTool = R"SH(#!/bin/sh
dir="$KVBR_FAKE_DIR"
n=$(cat "$dir/count" 2>/dev/null || echo 0)
n=$((n + 1))
echo "$n" > "$dir/count"
echo "=== $n" >> "$dir/log"
for a in "$@"; do printf '%s\n' "$a" >> "$dir/log"; done
sleep "${KVBR_FAKE_SLEEP:-0}"
[ -f "$dir/out$n" ] && cat "$dir/out$n"
exit "$(cat "$dir/code$n" 2>/dev/null || echo 0)"
)SH";

class DialogTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        char pattern[] = "/tmp/kvbr-dialogs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        const char* path = std::getenv("PATH");
        oldPath = path ? path : "";
        setenv("KVBR_FAKE_DIR", dir.c_str(), 1);
        setenv("KVBR_FAKE_SLEEP", "0", 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        std::system(("rm -rf '" + dir + "'").c_str());
        X11Test::TearDown();
    }
    // Puts the stand-in on $PATH under the tool's name, or nothing.
    void installTool(const char* name) {
        const std::string bin = dir + "/bin";
        mkdir(bin.c_str(), 0755);
        if (name) {
            const std::string tool = bin + "/" + name;
            std::ofstream(tool) << kFakeTool;
            chmod(tool.c_str(), 0755);
        }
        // Only the stand-in and the basic tools the script itself needs.
        const std::string basics = dir + "/basics";
        mkdir(basics.c_str(), 0755);
        for (const char* tool : {"sh", "cat", "sleep"})
            symlink(("/bin/" + std::string(tool)).c_str(), (basics + "/" + tool).c_str());
        setenv("PATH", (bin + ":" + basics).c_str(), 1);
    }
    void answer(int call, int code, const std::string& output) {
        std::ofstream(dir + "/code" + std::to_string(call)) << code;
        std::ofstream(dir + "/out" + std::to_string(call)) << output;
    }
    std::string calls() {
        std::ifstream in(dir + "/log");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::string dir;
    std::string oldPath;
};

platform::FileDialogRequest bankSave(const std::string& folder) {
    platform::FileDialogRequest r;
    r.kind = platform::FileDialogRequest::Kind::save;
    r.title = "Save bank as...";
    r.filters = {{"All Files", "*.*"}, {"Korvane Banks", "*.kvb"}};
    r.selectedFilter = 2;
    r.defaultExtension = "kvb";
    r.startFolder = folder;
    r.proposedFileName = "live.kvb";
    r.promptOverwrite = true;
    return r;
}

}  // namespace

TEST_F(DialogTest, TheToolGetsTheRequestAndABareNameGetsTheExtension) {
    installTool("zenity");
    answer(1, 0, dir + "/mix\n");
    const auto chosen = platform::showFileDialog(bankSave(dir));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir + "/mix.kvb");
    EXPECT_EQ(calls(), "=== 1\n--file-selection\n--title=Save bank as...\n--save\n"
                       "--confirm-overwrite\n--filename=" + dir + "/live.kvb\n"
                       "--file-filter=Korvane Banks | *.kvb\n--file-filter=All Files | *\n");
}

TEST_F(DialogTest, CancelGivesNothingAndKdialogServesWhenZenityIsMissing) {
    installTool("kdialog");
    answer(1, 1, "");
    platform::FileDialogRequest open = bankSave(dir);
    open.kind = platform::FileDialogRequest::Kind::open;
    open.title = "Select bank to load...";
    EXPECT_FALSE(platform::showFileDialog(open).has_value());
    EXPECT_EQ(calls(), "=== 1\n--title\nSelect bank to load...\n--getopenfilename\n" + dir +
                           "/live.kvb\nKorvane Banks (*.kvb)\nAll Files (*)\n");
}

TEST_F(DialogTest, ReplacingAFileTheExtensionNamedIsAskedAndANoAsksForAnotherName) {
    installTool("zenity");
    std::ofstream(dir + "/live.kvb") << "old";
    answer(1, 0, dir + "/live\n");  // the user typed "live"...
    answer(2, 1, "");               // ...and does not want live.kvb replaced
    answer(3, 0, dir + "/other\n");
    const auto chosen = platform::showFileDialog(bankSave(dir));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, dir + "/other.kvb");
    const std::string log = calls();
    EXPECT_NE(log.find("=== 2\n--question\n--title=Save bank as...\n--text=live.kvb already exists."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("=== 3\n--file-selection"), std::string::npos);
}

TEST_F(DialogTest, TheEditorKeepsRepaintingWhileTheDialogIsOpen) {
    installTool("zenity");
    openEditor();
    answer(1, 1, "");
    setenv("KVBR_FAKE_SLEEP", "0.5", 1);
    // A paint request the host's idle will not deliver: the host is waiting
    // in the dialog.
    editor->knob->setValue(0.9f);
    editor->getFrame()->getPlatformWindow()->invalidate(platform::Rect{
        scene::kKnobRect.left, scene::kKnobRect.top, scene::kKnobRect.right, scene::kKnobRect.bottom});
    EXPECT_FALSE(platform::showFileDialog(bankSave(dir)).has_value());
    expectLooksLikeReference("painted_during_dialog");
}

TEST_F(DialogTest, MessagesGoThroughTheToolWithTheirCaption) {
    installTool("zenity");
    platform::showMessageBox("Error...", "Not a bank file!", platform::MessageIcon::error);
    EXPECT_EQ(calls(), "=== 1\n--error\n--title=Error...\n--text=Not a bank file!\n--no-markup\n");
}

TEST_F(DialogTest, WithoutAToolTheUserIsToldWhatToInstall) {
    installTool(nullptr);
    openEditor();
    const int shownBefore = lb::ownMessagesShown();
    unsigned long window = 0;
    std::thread user([&] {
        X11Driver hands;
        for (int i = 0; i < 200 && !window; ++i, sleepMs(20))
            window = hands.topLevelNamed("Korvane Brassel");
        sleepMs(150);
        if (window) platform::linux_backend::testing::savePng(hands.capture(window),
                                                               outputPath("missing_tool"));
        hands.key("Return");
    });
    const auto chosen = platform::showFileDialog(bankSave(dir));
    user.join();
    EXPECT_FALSE(chosen.has_value());
    EXPECT_NE(window, 0u) << "no message window appeared";
    EXPECT_EQ(lb::ownMessagesShown(), shownBefore + 1);
    EXPECT_NE(lb::lastOwnMessage().text.find("\"zenity\""), std::string::npos);

    // A message box without a tool is the plug-in's own window, closed with OK.
    window = 0;
    std::thread clicker([&] {
        X11Driver hands;
        for (int i = 0; i < 200 && !window; ++i, sleepMs(20)) window = hands.topLevelNamed("Error...");
        sleepMs(150);
        if (!window) return;
        const auto origin = hands.screenOrigin(window);
        const auto shot = hands.capture(window);
        hands.click(origin.x + shot.width / 2, origin.y + shot.height - 27);
    });
    platform::showMessageBox("Error...", "Not a bank file!", platform::MessageIcon::error);
    clicker.join();
    EXPECT_NE(window, 0u);
    EXPECT_EQ(lb::lastOwnMessage().caption, "Error...");
    EXPECT_EQ(lb::lastOwnMessage().text, "Not a bank file!");
    EXPECT_EQ(driver->topLevelNamed("Error..."), 0u);
}
