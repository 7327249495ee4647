// The editor window's events: what is delivered when, and the pointer state
// the controls poll while they track a drag.
#include <algorithm>

#include "x11ErrorTrap.h"
#include "x11Window.h"
#include "x11WindowDevice.h"

#include "../input.h"

namespace platform::linux_backend {

namespace {

int modifierBits(unsigned int state) {
    int bits = 0;
    if (state & ShiftMask) bits |= kModifierShift;
    if (state & ControlMask) bits |= kModifierControl;
    if (state & Mod1Mask) bits |= kModifierAlt;
    return bits;
}

// The core protocol reports logical buttons, after the user's button mapping:
// with swapped buttons the physical right button is button 1 here already.
int buttonBits(unsigned int state) {
    int bits = 0;
    if (state & Button1Mask) bits |= kButtonLeft;
    if (state & Button2Mask) bits |= kButtonMiddle;
    if (state & Button3Mask) bits |= kButtonRight;
    return bits;
}

int buttonBit(unsigned int button) {
    switch (button) {
        case Button1:
            return kButtonLeft;
        case Button2:
            return kButtonMiddle;
        case Button3:
            return kButtonRight;
        default:
            return 0;
    }
}

}  // namespace

bool X11Window::nextEvent(XEvent& event) {
    XErrorTrap trap(display());
    if (handling > 0) {
        // A press is being handled (a control tracks the pointer): only paints
        // and the window's end, so that no second press nests in the first.
        if (XCheckTypedEvent(display(), Expose, &event)) return true;
        return !gone && XCheckTypedWindowEvent(display(), window, DestroyNotify, &event);
    }
    if (XPending(display()) == 0) return false;
    XNextEvent(display(), &event);
    return true;
}

void X11Window::processEvents() {
    if (!conn->onOwnerThread()) return;
    XEvent event;
    while (nextEvent(event)) dispatch(event);
    if (!gone && !damage.empty()) deliverPaint();
}

bool X11Window::dispatchOnePaint() {
    if (gone || !conn->onOwnerThread()) return false;
    {
        XErrorTrap trap(display());
        XEvent event;
        XSync(display(), False);
        while (XCheckTypedEvent(display(), Expose, &event)) {
            if (event.xexpose.window == window) {
                noteExpose(event.xexpose);
                continue;
            }
            for (X11EventClient* client : clients)
                if (client->xwindow() == event.xexpose.window) {
                    client->handleEvent(event);
                    break;
                }
        }
    }
    if (damage.empty()) return false;
    deliverPaint();
    return true;
}

void X11Window::deliverPendingPaint() {
    if (!gone && !damage.empty()) deliverPaint();
}

void X11Window::deliverPaint() {
    const Rect damaged = damage;
    damage = Rect{};
    ++handling;
    {
        X11WindowDevice device(*this);
        // The damaged area is sent again even where the toolkit draws nothing new.
        device.touch(damaged);
        events.onPaint(device, damaged);
    }
    --handling;
}

void X11Window::noteExpose(const XExposeEvent& expose) {
    invalidate(Rect{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height});
}

void X11Window::dispatch(XEvent& event) {
    switch (event.type) {
        case Expose:
            if (event.xexpose.window == window) {
                noteExpose(event.xexpose);
                return;
            }
            break;
        case ButtonPress:
            if (event.xbutton.window == window) {
                pressed(event.xbutton);
                return;
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == window) {
                windowDestroyed();
                return;
            }
            break;
        case ClientMessage:
            if (event.xclient.window == window) {
                refuseDrop(event.xclient);
                return;
            }
            break;
        case MappingNotify:
            XRefreshKeyboardMapping(&event.xmapping);
            return;
        default:
            break;
    }
    for (X11EventClient* client : clients)
        if (client->xwindow() == event.xany.window) {
            client->handleEvent(event);  // may remove the client
            return;
        }
}

void X11Window::handleForeignEvent(XEvent& event) {
    switch (event.type) {
        case Expose:
        case DestroyNotify:
        case ClientMessage:
        case MappingNotify:
            dispatch(event);
            break;
        default:
            break;
    }
}

void X11Window::pressed(const XButtonEvent& press) {
    // Buttons 4 and 5 are the wheel's notches.
    if (press.button == Button4 || press.button == Button5) {
        ++handling;
        events.onWheel(Point{press.x_root, press.y_root}, press.button == Button4 ? 120 : -120);
        --handling;
        return;
    }
    const int bit = buttonBit(press.button);
    if (!bit) return;
    // The event's state is the one before the press: the pressed button is
    // added from the event, the rest is read from the server when polled.
    pressLatch = bit | modifierBits(press.state);
    ++handling;
    events.onButtonDown(Point{press.x, press.y});
    --handling;
    pressLatch = 0;
}

void X11Window::windowDestroyed() {
    if (gone) return;
    gone = true;
    damage = Rect{};
    events.onDestroyed();
}

void X11Window::refuseDrop(const XClientMessageEvent& message) {
    // Nothing is ever accepted; answering keeps a dragging program from
    // waiting for a reply that would never come.
    const bool position = message.message_type == dndAtoms[0];
    const bool drop = message.message_type == dndAtoms[1];
    if (!position && !drop) return;
    const ::Window source = static_cast<::Window>(message.data.l[0]);
    XEvent reply{};
    reply.xclient.type = ClientMessage;
    reply.xclient.display = display();
    reply.xclient.window = source;
    reply.xclient.message_type = position ? dndAtoms[2] : dndAtoms[3];
    reply.xclient.format = 32;
    reply.xclient.data.l[0] = static_cast<long>(window);
    reply.xclient.data.l[1] = 0;  // not accepted
    XErrorTrap trap(display());
    XSendEvent(display(), source, False, NoEventMask, &reply);
}

int X11Window::buttonState() {
    int latch = pressLatch;
    pressLatch = 0;
    if (!conn->onOwnerThread()) return latch;
    XErrorTrap trap(display());
    ::Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    if (gone || !XQueryPointer(display(), window, &rootReturn, &child, &rootX, &rootY, &x, &y,
                               &mask) ||
        trap.errors()) {
        mask = 0;
        XQueryPointer(display(), conn->root(), &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    }
    return latch | buttonBits(mask) | modifierBits(mask);
}

Point X11Window::pointerPosition() {
    if (!conn->onOwnerThread()) return Point{};
    XErrorTrap trap(display());
    ::Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    XQueryPointer(display(), conn->root(), &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return Point{rootX, rootY};
}

}  // namespace platform::linux_backend
