// The editor base a plug-in format's door drives: it keeps the editor
// rectangle and the frame, passes keys, wheel and idle calls to the frame,
// and carries the idle processing that keeps the window alive while a
// control tracks a drag. Everything runs on the host's GUI thread.
#pragma once

#include <cstdint>

#include "keyCode.h"

namespace gui {

class CFrame;

// The editor's rectangle in pixels, in the order hosts have long read it.
struct ERect {
    std::int16_t top, left, bottom, right;
};

class AEffGUIEditor {
public:
    // Starts the idle time stamp at the tick count.
    AEffGUIEditor();
    // Releases a frame the derived editor left open.
    virtual ~AEffGUIEditor();
    AEffGUIEditor(const AEffGUIEditor&) = delete;
    AEffGUIEditor& operator=(const AEffGUIEditor&) = delete;

    // The rectangle, always.
    virtual bool getRect(ERect** rect);
    // Stores the parent window; the derived editor builds the frame and
    // answers for itself.
    virtual bool open(void* ptr);
    // Forgets the parent window.
    virtual void close();
    // The host's idle, 20 to 60 times a second, and from doIdleStuff: runs the
    // frame's idle unless the editor is inside its own idle processing.
    virtual void idle();
    // True if the frame used the key.
    virtual bool onKeyDown(KeyCode& keyCode);
    virtual bool onKeyUp(KeyCode& keyCode);
    // The wheel goes to the view under the pointer.
    virtual bool onWheel(float distance);
    // Shared by all editors of the process.
    virtual bool setKnobMode(int mode);

    // Edits of controls, passed on towards the host.
    virtual void beginEdit(int index);
    virtual void endEdit(int index);
    // Called between polls of a drag: redraws about every 50 ms, pauses about
    // 4 ms otherwise, and asks the host for its idle pass.
    virtual void doIdleStuff();
    // The host's idle pass during a drag; nothing without a host.
    virtual void hostIdle() {}

    CFrame* getFrame() const { return frame; }
    void* getSystemWindow() const { return systemWindow; }
    std::uint32_t getIdleTimeStamp() const { return lLastTicks; }
    bool isInIdleStuff() const { return inIdleStuff; }
    static int getKnobMode() { return knobMode; }

protected:
    ERect rect{};
    void* systemWindow = nullptr;
    CFrame* frame = nullptr;
    std::uint32_t lLastTicks;
    bool inIdleStuff = false;

    static int knobMode;
};

}  // namespace gui
