// The window class of the editor's frame windows: registered with the
// library's module handle when the first frame window of the process is made,
// unregistered after the last is gone.
#pragma once

#include <windows.h>

namespace platform::windows {

// Registers the class on first use ("Plugin%p" with the module handle, a
// global class with the arrow cursor and the button-face background) and
// latches the user's swapped-buttons setting; counts one more user. Answers
// the class name, or null when the class cannot be registered.
const char* acquireWindowClass(WNDPROC procedure);
// One user fewer; the class is unregistered with the last.
void releaseWindowClass();

// The class name as registered for this library, and its users right now.
const char* windowClassName();
int windowClassUsers();

}  // namespace platform::windows
