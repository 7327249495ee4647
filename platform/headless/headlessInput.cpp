#include "headlessInput.h"

namespace platform {

namespace headless {

int ScriptedInput::buttonState() {
    ++buttonPollCount;
    if (buttons.empty()) return 0;
    int mask = buttons.front();
    buttons.pop_front();
    if (swapLatched) {
        const int left = mask & kButtonLeft;
        const int right = mask & kButtonRight;
        mask &= ~(kButtonLeft | kButtonRight);
        if (left) mask |= kButtonRight;
        if (right) mask |= kButtonLeft;
    }
    return mask;
}

Point ScriptedInput::cursorPosition() {
    ++pointerPollCount;
    if (!pointer.empty()) {
        restingPointer = pointer.front();
        pointer.pop_front();
    }
    return restingPointer;
}

void ScriptedInput::reset() {
    buttons.clear();
    pointer.clear();
    restingPointer = Point{};
    doubleClick = 500;
    swapSetting = false;
    swapLatched = false;
    buttonPollCount = 0;
    pointerPollCount = 0;
}

ScriptedInput& scriptedInput() {
    static ScriptedInput instance;
    return instance;
}

}  // namespace headless

InputState& input() { return headless::scriptedInput(); }

}  // namespace platform
