// X errors of the plug-in's own display connections, caught instead of ending
// the host. Xlib's default error handler exits the process, and a host may
// destroy its window (and so ours) at any moment before closing the editor, so
// every request the backend makes runs under a trap.
#pragma once

#include <X11/Xlib.h>

#include "x11Diagnostics.h"

namespace platform::linux_backend {

// While any trap is alive, errors of the connections registered below are
// recorded (in every live trap of that connection) and swallowed; errors of
// other connections (the host's own) go to the handler that was installed
// before. The last trap to end syncs its connection, so that the errors of
// every request made under it have arrived, and puts the previous handler
// back at once: the host's handler is never replaced for longer than a call.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has answered every request sent so far; true when
    // no error arrived since the trap was made.
    bool sync();
    int errors() const { return count; }
    // The error code and resource id of the last error.
    int lastCode() const { return code; }
    unsigned long lastResource() const { return resource; }

private:
    friend int trapHandler(Display*, XErrorEvent*);
    Display* display;
    int count = 0;
    int code = 0;
    unsigned long resource = 0;
};

// The backend's own connections: their errors are never passed on to the host.
void registerConnection(Display* display);
void unregisterConnection(Display* display);

}  // namespace platform::linux_backend
