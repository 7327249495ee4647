// The editor base the VST host drives: it keeps the editor rectangle and the
// frame, passes keys, wheel and idle calls to the frame, and carries the idle
// processing that keeps the window alive while a control tracks a drag.
#pragma once

#include <cstdint>

#include "formats/vst2/aeffeditor.h"

namespace vst2 {
class AudioEffect;
}

namespace gui {

class CFrame;

class AEffGUIEditor : public vst2::AEffEditor {
public:
    // Registers with the effect and starts the idle time stamp at the tick count.
    explicit AEffGUIEditor(vst2::AudioEffect* effect);
    // Releases a frame the derived editor left open.
    ~AEffGUIEditor() override;

    // Host's GUI thread (effEditGetRect): the rectangle, always.
    bool getRect(vst2::ERect** rect) override;
    // Host's GUI thread (effEditOpen): stores the parent window; the derived
    // editor builds the frame and answers for itself.
    bool open(void* ptr) override;
    // Host's GUI thread (effEditClose): forgets the parent window.
    void close() override;
    // Host's GUI thread (effEditIdle), and from doIdleStuff: runs the frame's idle
    // unless the editor is inside its own idle processing.
    void idle() override;
    // Host's GUI thread (effEditKeyDown / effEditKeyUp): true if the frame used it.
    bool onKeyDown(vst2::VstKeyCode& keyCode) override;
    bool onKeyUp(vst2::VstKeyCode& keyCode) override;
    // The wheel goes to the view under the pointer.
    bool onWheel(float distance) override;
    // Host's GUI thread (effSetEditKnobMode): shared by all editors of the process.
    bool setKnobMode(vst2::int32 mode) override;

    // Called by the effect after it stored a parameter value; any thread.
    virtual void setParameter(int index, float value);
    // Edits of controls, passed on to the effect and from there to the host.
    virtual void beginEdit(int index);
    virtual void endEdit(int index);
    // Called between polls of a drag: redraws about every 50 ms, pauses about
    // 4 ms otherwise, and asks the host for its idle pass.
    virtual void doIdleStuff();

    CFrame* getFrame() const { return frame; }
    std::uint32_t getIdleTimeStamp() const { return lLastTicks; }
    bool isInIdleStuff() const { return inIdleStuff; }
    static int getKnobMode() { return knobMode; }

protected:
    vst2::ERect rect{};
    CFrame* frame = nullptr;
    std::uint32_t lLastTicks;
    bool inIdleStuff = false;

    static int knobMode;
};

}  // namespace gui
