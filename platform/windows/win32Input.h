// The pointer, buttons and modifier keys as the system sees them right now.
#pragma once

namespace platform::windows {

// Whether the user had swapped the mouse buttons when the frame's window class
// was registered; kept for the life of the process's windows.
void latchSwappedButtons(bool swapped);
bool swappedButtons();

}  // namespace platform::windows
