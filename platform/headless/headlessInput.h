// Scripted mouse and modifier state. Every poll of the button mask takes the
// next scripted mask and every poll of the pointer the next scripted position,
// from two separate queues. When the button queue runs dry the answer is "no
// button, no modifier", so a control tracking a drag always sees the release
// and a loop cannot spin forever; when the pointer queue runs dry the last
// position answered (or the one set with setPointer) is answered again.
#pragma once

#include <deque>

#include "../input.h"

namespace platform::headless {

class ScriptedInput final : public InputState {
public:
    int buttonState() override;
    Point cursorPosition() override;
    int doubleClickTime() override { return doubleClick; }

    void pushButtons(int mask) { buttons.push_back(mask); }
    void pushPointer(Point screenWhere) { pointer.push_back(screenWhere); }
    // One poll of each: the usual step of a tracking loop.
    void pushState(int mask, Point screenWhere) {
        pushButtons(mask);
        pushPointer(screenWhere);
    }
    // Where the pointer rests once its queue is empty.
    void setPointer(Point screenWhere) { restingPointer = screenWhere; }
    void setDoubleClickTime(int milliseconds) { doubleClick = milliseconds; }
    // The user's swapped-buttons setting; takes effect when it is latched, as the
    // system setting is read once when the first window is created.
    void setSwappedButtons(bool swapped) { swapSetting = swapped; }
    void latchSwappedButtons() { swapLatched = swapSetting; }

    int buttonPolls() const { return buttonPollCount; }
    int pointerPolls() const { return pointerPollCount; }
    int pendingButtons() const { return static_cast<int>(buttons.size()); }
    int pendingPointer() const { return static_cast<int>(pointer.size()); }
    void reset();

private:
    std::deque<int> buttons;
    std::deque<Point> pointer;
    Point restingPointer;
    int doubleClick = 500;
    bool swapSetting = false;
    bool swapLatched = false;
    int buttonPollCount = 0;
    int pointerPollCount = 0;
};

// The input state the headless backend hands out as input().
ScriptedInput& scriptedInput();

}  // namespace platform::headless
