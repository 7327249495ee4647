// Real input for the GUI tests: mouse and keyboard events injected with
// SendInput, as if the user made them, and waits for windows to appear.
// Called from a helper thread while the GUI thread pumps its messages.
#pragma once

#include <windows.h>

#include <functional>

namespace realInput {

// The pointer to a screen point; returns when it reads back there steadily.
// Let 80 ms pass before pressing a button there (click and drag do).
void moveTo(POINT screen);
void leftDown();
void leftUp();
void rightDown();
void rightUp();
// Moves there, then holds the left button long enough for a polling control
// to see it.
void click(POINT screen, int holdMs = 150);
void rightClick(POINT screen, int holdMs = 150);
// Presses at `from`, moves to `to` in `steps` equal steps of `stepMs`, holds
// a moment and releases.
void drag(POINT from, POINT to, int steps = 5, int stepMs = 30);
// One wheel turn of `delta` (120 per notch) at the pointer.
void wheel(int delta);
void keyDown(WORD virtualKey);
void keyUp(WORD virtualKey);
void pressKey(WORD virtualKey);
// Types printable ASCII text.
void type(const char* text);

// The screen point of client point x, y of `window`.
POINT at(HWND window, int x, int y);
// The centre of a screen rectangle.
POINT centre(const RECT& r);

// Polls every 20 ms until `found` answers a window or `timeoutMs` passes.
HWND waitFor(const std::function<HWND()>& found, int timeoutMs = 5000);
// A visible top-level window of `className` (or any class) with `title` (or any).
HWND findTopLevel(const char* className, const char* title);
// A child window of `parent` of `className`.
HWND findChild(HWND parent, const char* className);

}  // namespace realInput
