// The pointer and modifier state the controls poll, read from the X server
// through the editor's window, and the user's double-click time.
#pragma once

namespace platform::linux_backend {

class X11Connection;

// Reads the desktop's double-click time once per process: the XSETTINGS
// "Net/DoubleClickTime" of a running settings manager, else the
// "multiClickTime" X resource, else 400 ms.
void learnDoubleClickTime(X11Connection& connection);
// Forgets what was learnt, for tests.
void forgetDoubleClickTime();

}  // namespace platform::linux_backend
