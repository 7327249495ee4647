// The pointer and the keyboard's modifier keys as the system sees them right
// now, independent of any event queue: what a control polls while it tracks a
// drag (GetAsyncKeyState, GetCursorPos, GetDoubleClickTime on Windows).
#pragma once

#include "types.h"

namespace platform {

// Bits of the button-and-modifier mask, shared with the toolkit.
constexpr int kButtonLeft = 1;
constexpr int kButtonMiddle = 2;
constexpr int kButtonRight = 4;
constexpr int kModifierShift = 8;
constexpr int kModifierControl = 16;
constexpr int kModifierAlt = 32;

class InputState {
public:
    virtual ~InputState() = default;
    // The mask of the buttons held and of Shift, Control and Alt. When the user
    // has swapped the mouse buttons (read once, when the first window of the
    // process is created), the physical left button reports kButtonRight and the
    // physical right one kButtonLeft.
    virtual int buttonState() = 0;
    // The pointer in screen coordinates.
    virtual Point cursorPosition() = 0;
    // The longest time between the two presses of a double click, in ms.
    virtual int doubleClickTime() = 0;
};

// The input state of the backend this program was linked with.
InputState& input();

}  // namespace platform
