// The editor's frame window: a visible child window "Window" of the host's
// window, of the class from windowClass.h, that hands its paint, button-down
// and wheel messages to the frame and colours the frame's edit boxes.
#pragma once

#include <windows.h>

#include "../window.h"

namespace platform::windows {

class Win32Window final : public Window {
public:
    // Check created() before use.
    Win32Window(HWND parent, int width, int height, WindowEvents& events);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    bool created() const { return hwnd != nullptr; }

    Point screenOrigin() override;
    std::unique_ptr<DrawDevice> createDevice() override;
    void invalidate(const Rect& r) override;
    // The window's messages come through the host's message loop.
    void processEvents() override {}
    bool dispatchOnePaint() override;
    void* nativeHandle() override { return hwnd; }
    bool resize(int width, int height) override;
    // WM_TIMER through the host's message loop.
    bool startTimer(int milliseconds, std::function<void()> tick) override;

private:
    friend LRESULT CALLBACK frameWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void press(Point where);

    HWND hwnd = nullptr;
    WindowEvents& events;
    std::function<void()> timerTick;
    bool classAcquired = false;
    // Set while a press is being handled: the controls track the drag from
    // inside it, and a modal loop (a message box) must not start a second one.
    bool pressing = false;
};

// The frame window whose press is being handled right now, or null: the owner
// of the dialogs that a button opens.
HWND windowHandlingPress();

}  // namespace platform::windows
