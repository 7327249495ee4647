// The editor's own child window inside the host's window, and the events it
// delivers. On Windows this is a child window titled "Window" of a class
// registered once per loaded library ("Plugin%p" with the module handle); on
// Linux an X11 child window of the host's X11 window, drawn with cairo.
#pragma once

#include <functional>
#include <memory>

#include "drawDevice.h"
#include "types.h"

namespace platform {

// What the window tells its owner. Called on the GUI thread from processEvents,
// dispatchOnePaint or the system's own message dispatch.
class WindowEvents {
public:
    // A part of the window needs repainting; `device` draws into the window and
    // lives only for this call.
    virtual void onPaint(DrawDevice& device, const Rect& damaged) = 0;
    // The left, middle or right button went down at `where` (window coordinates).
    // There is no button-up event: a control polls the input state instead.
    virtual void onButtonDown(Point where) = 0;
    // The wheel turned by `delta` (120 per notch, positive away from the user)
    // with the pointer at `screenWhere` (screen coordinates).
    virtual void onWheel(Point screenWhere, int delta) = 0;
    // The system destroyed the window (for instance together with the host's).
    virtual void onDestroyed() = 0;

protected:
    ~WindowEvents() = default;
};

class Window {
public:
    // Destroys the window (unless the system already did); the window class is
    // unregistered after the last window of the process is gone, and the default
    // cursor is restored.
    virtual ~Window() = default;

    // The window's client origin in screen coordinates.
    virtual Point screenOrigin() = 0;
    // A device that draws straight into the window (GetDC on Windows).
    virtual std::unique_ptr<DrawDevice> createDevice() = 0;
    // Asks for a paint of r at the next opportunity.
    virtual void invalidate(const Rect& r) = 0;
    // Delivers the window's pending events. A call made while an event delivered
    // earlier is still being handled (a control tracking a drag from inside its
    // press) delivers only paint requests, so no second press nests in the first.
    // Backends whose events arrive through the host's message loop do nothing.
    virtual void processEvents() = 0;
    // Delivers one pending paint request, if there is one (PeekMessage with
    // WM_PAINT); answers whether it did.
    virtual bool dispatchOnePaint() = 0;
    // HWND on Windows, the X11 Window id on Linux.
    virtual void* nativeHandle() = 0;
    // The file descriptor the window's events arrive on, for hosts that watch
    // descriptors in their own loop (Linux: the window's X connection); -1
    // where the system's message dispatch delivers them.
    virtual int eventDescriptor() { return -1; }
    // Calls `tick` on the window's thread about every `milliseconds` until the
    // window goes, for hosts that give an editor no idle calls of their own
    // (VST 3 on Windows). False where the host's loop must drive the window
    // (Linux: the descriptor above and a timer of the host's).
    // Gives the window a new size at the same place, keeping what was drawn
    // where it still fits; the owner repaints the rest. False where the
    // backend cannot.
    virtual bool resize(int width, int height) {
        (void)width;
        (void)height;
        return false;
    }
    virtual bool startTimer(int milliseconds, std::function<void()> tick) {
        (void)milliseconds;
        (void)tick;
        return false;
    }
};

// Creates a visible child window of `parent` (HWND or X11 Window, passed as the
// host passed it) at 0, 0 with the given size, delivering its events to
// `events`; null when the window cannot be created.
std::unique_ptr<Window> createChildWindow(void* parent, int width, int height,
                                          WindowEvents& events);

}  // namespace platform
