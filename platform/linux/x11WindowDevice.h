// Drawing straight into an X11 window with cairo, for as long as one paint,
// press or idle run lasts. Errors of the requests it sends (the host may have
// destroyed the window already) are trapped until the device is gone.
#pragma once

#include <X11/Xlib.h>

#include "../cairo/cairoDevice.h"
#include "x11ErrorTrap.h"

namespace platform::linux_backend {

namespace detail {
// A base, so that the trap outlives the cairo drawing state it guards.
struct TrapHolder {
    explicit TrapHolder(Display* display) : trap(display) {}
    XErrorTrap trap;
};
}  // namespace detail

class X11WindowDevice final : private detail::TrapHolder, public cairo_draw::CairoDevice {
public:
    // `surface` is the window's cairo Xlib surface of the given size.
    X11WindowDevice(Display* display, cairo_surface_t* surface, int width, int height);
    // Sends what was drawn to the server.
    ~X11WindowDevice() override;
};

}  // namespace platform::linux_backend
