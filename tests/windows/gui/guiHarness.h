// What the Windows GUI tests share: a top-level window standing in for the
// host's, an effect and a listener that log what reaches them, an editor that
// opens a frame in the host window, and the message pump a host runs, with an
// editor idle about every 20 ms, while a helper thread plays real input.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/toolkit.h"
#include "platform/window.h"
#include "tests/support/editorHost.h"
#include "pngWriter.h"

namespace wingui {

using testsupport::Log;
using testsupport::RecordingEffect;
using testsupport::TestEditor;

class RecordingListener : public gui::CControlListener {
public:
    explicit RecordingListener(Log& log) : log(log) {}
    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;
    int changes = 0;

private:
    Log& log;
};

// The host's window: a visible child window, `width` x `height`, of the one
// top-level window the tests share (closing a top-level window costs Wine
// seconds without a window manager on the display, a child window nothing).
class HostWindow {
public:
    HostWindow(int width, int height, int x = 0, int y = 0);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND handle() const { return hwnd; }

private:
    HWND hwnd = nullptr;
};

// The top-level window that holds every host window, made on first use.
HWND testTopLevelWindow();

// Handles this thread's messages for `ms` milliseconds, idling `editor` (if
// given) about every 20 ms as a host does.
void pump(gui::AEffGUIEditor* editor, int ms);
// Runs `script` on a helper thread while pumping; returns `settleMs` after
// the script has finished.
void runWhile(gui::AEffGUIEditor* editor, const std::function<void()>& script, int settleMs = 150);

// The pixels of a bitmap resource of this program, read back through GDI.
screenshot::Image resourcePixels(int id);

// Where the tests leave their pictures (the build folder).
std::string outputPath(const char* fileName);

// Every GUI test: a host window, an effect with an editor whose frame is open
// in that window, a listener, and one log for all of them.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND frameWindow() const;
    // Screen point of frame point x, y.
    POINT screen(int x, int y) const;
    void pumpFor(int ms) { pump(editor, ms); }
    void play(const std::function<void()>& script, int settleMs = 150) {
        runWhile(editor, script, settleMs);
    }

    Log log;
    RecordingListener listener{log};
    HostWindow* host = nullptr;
    RecordingEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    gui::CFrame* frame = nullptr;
    int liveAtStart = 0;
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 309;
};

}  // namespace wingui
