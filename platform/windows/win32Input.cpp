#include "win32Input.h"

#include <windows.h>

#include "../input.h"

namespace platform {

namespace windows {

namespace {

bool swapped = false;

bool held(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

class Win32Input final : public InputState {
public:
    int buttonState() override {
        // The asynchronous state is that of the physical buttons; with swapped
        // buttons the physical left one is the user's right one.
        int mask = 0;
        if (held(VK_LBUTTON)) mask |= swapped ? kButtonRight : kButtonLeft;
        if (held(VK_RBUTTON)) mask |= swapped ? kButtonLeft : kButtonRight;
        if (held(VK_MBUTTON)) mask |= kButtonMiddle;
        if (held(VK_SHIFT)) mask |= kModifierShift;
        if (held(VK_CONTROL)) mask |= kModifierControl;
        if (held(VK_MENU)) mask |= kModifierAlt;
        return mask;
    }

    Point cursorPosition() override {
        POINT p{0, 0};
        GetCursorPos(&p);
        return Point{p.x, p.y};
    }

    int doubleClickTime() override { return static_cast<int>(GetDoubleClickTime()); }
};

}  // namespace

void latchSwappedButtons(bool state) { swapped = state; }
bool swappedButtons() { return swapped; }

}  // namespace windows

InputState& input() {
    static windows::Win32Input instance;
    return instance;
}

}  // namespace platform
