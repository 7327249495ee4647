// One display connection of the plug-in's own: every editor window opens its
// own, so that its requests, events and errors never mix with the host's
// connection or with another editor's.
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <thread>

#include "../types.h"
#include "x11Diagnostics.h"

namespace platform::linux_backend {

class X11Connection {
public:
    // Null when there is no X server to talk to ($DISPLAY unset or refused).
    static std::unique_ptr<X11Connection> open();
    // Syncs and closes the connection; the server then frees everything the
    // connection still owned.
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return dpy; }
    int screen() const { return screenNumber; }
    ::Window root() const { return rootWindow; }
    Atom atom(const char* name);
    // Xlib is used from the thread that opened the connection only (the host's
    // GUI thread); a call from another thread is counted and refused.
    bool onOwnerThread() const;
    // The pixel value of a colour in `visual` (TrueColor; black otherwise).
    static unsigned long pixelOf(Visual* visual, int depth, Colour colour);

private:
    explicit X11Connection(Display* display);
    Display* dpy;
    int screenNumber;
    ::Window rootWindow;
    std::thread::id owner;
};

}  // namespace platform::linux_backend
