#include "x11WindowDevice.h"

#include <cairo.h>

namespace platform::linux_backend {

X11WindowDevice::X11WindowDevice(Display* display, cairo_surface_t* surface, int width,
                                 int height)
    : TrapHolder(display), CairoDevice(surface, width, height) {}

X11WindowDevice::~X11WindowDevice() { cairo_surface_flush(surface()); }

}  // namespace platform::linux_backend
