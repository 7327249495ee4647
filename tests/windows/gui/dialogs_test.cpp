// The common file dialogs and the error message box, opened from a control's
// press as the preset panel's buttons open them, and answered through their
// own controls.
#include <windows.h>

#include <dlgs.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "guiHarness.h"
#include "platform/fileDialog.h"
#include "platform/messageBox.h"
#include "realInput.h"

using namespace wingui;
using namespace gui;

namespace {

// A control that runs an action inside its press, as the file buttons do.
class ActionButton : public CControl {
public:
    ActionButton(const CRect& size, std::function<void()> action)
        : CControl(size, nullptr, 99, nullptr), action(std::move(action)) {}
    void mouse(CDrawContext*, CPoint&, int) override {
        ++presses;
        action();
    }
    void draw(CDrawContext*) override { setDirty(false); }
    int presses = 0;

private:
    std::function<void()> action;
};

platform::FileDialogRequest bankRequest(bool save, const std::string& folder) {
    platform::FileDialogRequest request;
    request.kind = save ? platform::FileDialogRequest::Kind::save
                        : platform::FileDialogRequest::Kind::open;
    request.title = save ? "Save bank as..." : "Select bank to load...";
    request.filters = {{"All Files", "*.*"}, {"Korvane Banks", "*.kvb"}};
    request.selectedFilter = 2;
    request.defaultExtension = "kvb";
    request.startFolder = folder;
    request.proposedFileName = "old.kvb";
    request.promptOverwrite = save;
    request.fileMustExist = !save;
    return request;
}

// What the driver saw of an open file dialog.
struct SeenDialog {
    HWND window = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::string fileName;
    std::string filter;
    std::string folder;
};

HWND fileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, edt1);
    return box ? box : GetDlgItem(dialog, cmb13);
}

SeenDialog look(const char* title) {
    SeenDialog seen;
    seen.window = realInput::waitFor([&] { return realInput::findTopLevel("#32770", title); });
    if (!seen.window) return seen;
    Sleep(300);
    seen.owner = GetWindow(seen.window, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(testTopLevelWindow()) != 0;
    char text[MAX_PATH] = {0};
    GetWindowTextA(fileNameBox(seen.window), text, sizeof text);
    seen.fileName = text;
    HWND types = GetDlgItem(seen.window, cmb1);
    const LRESULT selected = SendMessageA(types, CB_GETCURSEL, 0, 0);
    if (selected >= 0 && SendMessageA(types, CB_GETLBTEXTLEN, selected, 0) < MAX_PATH) {
        SendMessageA(types, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
        seen.filter = text;
    }
    text[0] = 0;
    SendMessageA(seen.window, CDM_GETFOLDERPATH, sizeof text, reinterpret_cast<LPARAM>(text));
    seen.folder = text;
    return seen;
}

void answer(HWND dialog, const char* fileName) {
    SetWindowTextA(fileNameBox(dialog), fileName);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string folderForDialogs() {
    std::string folder = outputPath("dialog-test");
    for (char& c : folder)
        if (c == '/') c = '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

using Dialogs = GuiTest;

TEST_F(Dialogs, SaveDialogIsOwnedByTheFrameAndAddsTheExtension) {
    const std::string folder = folderForDialogs();
    std::optional<std::string> chosen;
    auto* button = new ActionButton(CRect(0, 0, 50, 50), [&] {
        chosen = platform::showFileDialog(bankRequest(true, folder));
    });
    frame->addView(button);
    SeenDialog seen;
    play([&] {
        realInput::click(screen(10, 10));
        seen = look("Save bank as...");
        if (seen.window) answer(seen.window, "mybank");
    });
    ASSERT_NE(seen.window, nullptr) << "no dialog appeared";
    EXPECT_EQ(seen.owner, testTopLevelWindow()) << "owned by the editor's window";
    EXPECT_FALSE(seen.ownerEnabled) << "modal to the host's window";
    EXPECT_EQ(seen.fileName, "old.kvb");
    EXPECT_EQ(seen.filter, "Korvane Banks") << "the second filter is selected";
    EXPECT_EQ(seen.folder, folder);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder + "\\mybank.kvb");
    EXPECT_TRUE(IsWindowEnabled(testTopLevelWindow()));

    // Saving over a file asks first.
    FILE* f = std::fopen((folder + "\\exists.kvb").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    bool asked = false;
    chosen.reset();
    play([&] {
        realInput::click(screen(10, 10));
        seen = look("Save bank as...");
        if (!seen.window) return;
        answer(seen.window, "exists");
        HWND question = realInput::waitFor([&] {
            HWND w = realInput::findTopLevel("#32770", "Save bank as...");
            return w && w != seen.window ? w : nullptr;
        });
        asked = question != nullptr;
        if (question) PostMessageA(question, WM_COMMAND, IDYES, 0);
    });
    EXPECT_TRUE(asked) << "no question before replacing the file";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder + "\\exists.kvb");
}

TEST_F(Dialogs, OpenDialogCancelledGivesNothing) {
    const std::string folder = folderForDialogs();
    std::optional<std::string> chosen = std::string("untouched");
    frame->addView(new ActionButton(CRect(0, 0, 50, 50), [&] {
        chosen = platform::showFileDialog(bankRequest(false, folder));
    }));
    SeenDialog seen;
    play([&] {
        realInput::click(screen(10, 10));
        seen = look("Select bank to load...");
        if (seen.window) PostMessageA(seen.window, WM_COMMAND, IDCANCEL, 0);
    });
    ASSERT_NE(seen.window, nullptr);
    EXPECT_EQ(seen.owner, testTopLevelWindow());
    EXPECT_EQ(seen.folder, folder);
    EXPECT_FALSE(chosen.has_value());
}

TEST_F(Dialogs, ErrorMessageHasItsCaptionIconAndOneButtonAndBlocksSecondPresses) {
    auto* button = new ActionButton(CRect(0, 0, 50, 50), [] {
        platform::showMessageBox("Error...", "Error #02: Not a preset file!",
                                 platform::MessageIcon::error);
    });
    frame->addView(button);
    HWND box = nullptr, owner = reinterpret_cast<HWND>(1);
    std::string text;
    bool hasIcon = false, hasCancel = true;
    RECT ok{};
    play([&] {
        realInput::click(screen(10, 10));
        box = realInput::waitFor([] { return realInput::findTopLevel("#32770", "Error..."); });
        if (!box) return;
        Sleep(300);
        owner = GetWindow(box, GW_OWNER);
        char buffer[128] = {0};
        GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
        text = buffer;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                SendMessageA(child, STM_GETICON, 0, 0))
                hasIcon = true;
        hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
        GetWindowRect(GetDlgItem(box, IDOK), &ok);
        // A press on the editor while the message is up starts nothing.
        realInput::click(screen(10, 10));
        realInput::click(realInput::centre(ok));
    });
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(owner, nullptr) << "the message box has no owner";
    EXPECT_EQ(text, "Error #02: Not a preset file!");
    EXPECT_TRUE(hasIcon);
    EXPECT_FALSE(hasCancel) << "one OK button";
    EXPECT_FALSE(IsWindow(box)) << "closed by its OK button";
    EXPECT_EQ(button->presses, 1);
}
