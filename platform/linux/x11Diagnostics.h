// Counters of the X11 backend for tests, readable without seeing Xlib.
#pragma once

namespace platform::linux_backend {

// Errors caught by the backend's traps since the process started, and traps alive now.
long trappedErrors();
int liveTraps();
// Calls refused because they came from a thread other than the one that
// opened the connection.
long offThreadCalls();
// The backend's display connections open now.
int openConnections();

}  // namespace platform::linux_backend
