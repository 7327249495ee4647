#include "x11Connection.h"

#include <atomic>

#include "x11ErrorTrap.h"

namespace platform::linux_backend {

namespace {

std::atomic<long> refusedCalls{0};
int connectionsOpen = 0;

int bitShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

unsigned long scaled(std::uint8_t value, unsigned long mask) {
    if (!mask) return 0;
    const int shift = bitShift(mask);
    const unsigned long top = mask >> shift;
    return ((value * top + 127) / 255) << shift;
}

}  // namespace

std::unique_ptr<X11Connection> X11Connection::open() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::unique_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(Display* display)
    : dpy(display),
      screenNumber(DefaultScreen(display)),
      rootWindow(RootWindow(display, DefaultScreen(display))),
      owner(std::this_thread::get_id()) {
    registerConnection(dpy);
    ++connectionsOpen;
}

X11Connection::~X11Connection() {
    {
        XErrorTrap trap(dpy);
        trap.sync();
    }
    // Closing may still flush requests; their errors are ours to swallow.
    XErrorTrap trap(nullptr);
    XCloseDisplay(dpy);
    unregisterConnection(dpy);
    --connectionsOpen;
}

Atom X11Connection::atom(const char* name) { return XInternAtom(dpy, name, False); }

bool X11Connection::onOwnerThread() const {
    if (std::this_thread::get_id() == owner) return true;
    refusedCalls.fetch_add(1, std::memory_order_relaxed);
    return false;
}

unsigned long X11Connection::pixelOf(Visual* visual, int depth, Colour colour) {
    if (!visual || visual->c_class != TrueColor) return 0;
    unsigned long pixel = scaled(colour.red, visual->red_mask) |
                          scaled(colour.green, visual->green_mask) |
                          scaled(colour.blue, visual->blue_mask);
    // A visual with an alpha channel gets it opaque.
    const unsigned long all = depth >= 32 ? 0xFFFFFFFFul : ((1ul << depth) - 1);
    pixel |= all & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
    return pixel;
}

long offThreadCalls() { return refusedCalls.load(); }
int openConnections() { return connectionsOpen; }

}  // namespace platform::linux_backend
