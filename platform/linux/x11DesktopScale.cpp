// The desktop's scale on Linux: the Xft.dpi resource that desktops load into
// the server (xrdb), else the GDK_SCALE the toolkits of the desktop follow.
#include <X11/Xlib.h>

#include <cstdlib>

#include "../displayScale.h"
#include "../numberText.h"

namespace platform {

double desktopScale(void*) {
    // A connection of its own: the editor's window may not exist yet when the
    // host asks for the editor's size.
    if (Display* display = XOpenDisplay(nullptr)) {
        const double dpi = numberFromText(XGetDefault(display, "Xft", "dpi"));
        XCloseDisplay(display);
        if (dpi > 0.0) return dpi / 96.0;
    }
    return numberFromText(std::getenv("GDK_SCALE"));
}

}  // namespace platform
