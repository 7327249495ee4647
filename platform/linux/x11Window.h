// The editor's X11 window: a child of the host's window on a display
// connection of its own, drawn with cairo, with its events delivered when the
// toolkit asks for them (the host's idle calls and the controls' tracking
// loops), never from a thread or a timer of its own.
#pragma once

#include <memory>
#include <vector>

#include "../window.h"
#include "x11Connection.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _XGC* GC;

namespace platform::linux_backend {

// Another window of the same connection that takes its own events (the edit box).
class X11EventClient {
public:
    virtual ::Window xwindow() const = 0;
    // Handles an event for xwindow(); may destroy the client.
    virtual void handleEvent(XEvent& event) = 0;
    // The editor window is going away first.
    virtual void windowGone() = 0;

protected:
    ~X11EventClient() = default;
};

class X11Window final : public platform::Window {
public:
    // Null when there is no display, the parent is not a window of that
    // display, or the window cannot be made.
    static std::unique_ptr<X11Window> create(void* parent, int width, int height,
                                             WindowEvents& events);
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    Point screenOrigin() override;
    std::unique_ptr<DrawDevice> createDevice() override;
    void invalidate(const Rect& r) override;
    void processEvents() override;
    bool dispatchOnePaint() override;
    void* nativeHandle() override;
    int eventDescriptor() override;

    X11Connection& connection() { return *conn; }
    Display* display() const { return conn->display(); }
    ::Window xwindow() const { return window; }
    Visual* visual() const { return windowVisual; }
    int depth() const { return windowDepth; }
    int width() const { return w; }
    int height() const { return h; }
    // The host destroyed the window (with its own) before the editor closed.
    bool destroyed() const { return gone; }
    // An event of this window is being delivered (a press may be tracking).
    bool isHandling() const { return handling > 0; }

    // The buttons and modifiers held now, in the toolkit's mask, and the pointer
    // in screen coordinates, from the server. The press being delivered counts
    // as held for the first reading, so that a click whose release came before
    // the idle call is still seen as a click.
    int buttonState();
    Point pointerPosition();

    // The window's picture in the client: everything drawn into the window
    // goes here first, and `present` sends an area of it to the server.
    cairo_surface_t* picture() const { return shadow; }
    bool resize(int width, int height) override;
    void present(const Rect& area);

    // Modal loops of this connection (the pop-up menu) pass on what is not theirs:
    // paints of this window and its clients, its destruction, drag-and-drop
    // messages. Presses and keys are dropped.
    void handleForeignEvent(XEvent& event);
    void deliverPendingPaint();

    void addClient(X11EventClient* client);
    void removeClient(X11EventClient* client);

private:
    X11Window(std::unique_ptr<X11Connection> connection, ::Window window, Visual* visual,
              int depth, int width, int height, WindowEvents& events);
    bool nextEvent(XEvent& event);
    void dispatch(XEvent& event);
    void pressed(const XButtonEvent& press);
    void noteExpose(const XExposeEvent& expose);
    void windowDestroyed();
    void deliverPaint();
    void refuseDrop(const XClientMessageEvent& message);

    std::unique_ptr<X11Connection> conn;
    ::Window window;
    Visual* windowVisual;
    int windowDepth;
    int w;
    int h;
    WindowEvents& events;
    cairo_surface_t* shadow = nullptr;
    GC gc = nullptr;
    Rect damage;
    Point lastOrigin;
    std::vector<X11EventClient*> clients;
    int handling = 0;
    int pressLatch = 0;
    bool gone = false;
    // XdndPosition, XdndDrop, XdndStatus, XdndFinished.
    Atom dndAtoms[4] = {};
};

// The window whose event is being delivered, else the newest one; null when
// no editor window is open. The input state reads through it.
X11Window* activeWindow();
// Every editor window open now, oldest first.
const std::vector<X11Window*>& openWindows();

}  // namespace platform::linux_backend
