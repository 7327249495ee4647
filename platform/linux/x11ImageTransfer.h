// Pictures reach the X server as plain images (XPutImage) of what was drawn
// in the client with cairo: the pixels are exactly those of the headless
// rendering, and no cairo state is ever tied to a display connection (cairo's
// Xlib surfaces keep per-connection records that outlive the connection).
#pragma once

#include <X11/Xlib.h>

#include "../types.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform::linux_backend {

// Sends the area `from` of an RGB24 cairo image to `target` at `to`. Windows
// of 24-bit TrueColor visuals take the image's bytes as they are; any other
// visual gets every pixel converted.
void putImage(Display* display, Drawable target, GC gc, Visual* visual, int depth,
              cairo_surface_t* image, const Rect& from, Point to);

}  // namespace platform::linux_backend
