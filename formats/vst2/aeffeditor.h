// The editor side of the VST 2.x interface: what the dispatcher's editor
// opcodes reach. Plug-in editors derive from it.
#pragma once

#include "aeffect.h"

namespace vst2 {

class AudioEffect;

class AEffEditor {
public:
    // Links itself to the effect and raises the effect's has-editor flag.
    explicit AEffEditor(AudioEffect* effect);
    // Clears the effect's editor link and has-editor flag again.
    virtual ~AEffEditor();

    // Host's GUI thread (effEditGetRect): stores a pointer to the editor's rectangle.
    virtual bool getRect(ERect** rect);
    // Host's GUI thread (effEditOpen): ptr is the parent window.
    virtual bool open(void* ptr);
    // Host's GUI thread (effEditClose).
    virtual void close();
    // Host's GUI thread (effEditIdle), 20 to 60 times a second.
    virtual void idle();
    // Host's GUI thread (effEditKeyDown / effEditKeyUp): true if the key was used.
    virtual bool onKeyDown(VstKeyCode& keyCode);
    virtual bool onKeyUp(VstKeyCode& keyCode);
    // Host's GUI thread (effSetEditKnobMode).
    virtual bool setKnobMode(int32 mode);
    virtual bool onWheel(float distance);

    AudioEffect* getEffect() const { return effect; }
    void* getSystemWindow() const { return systemWindow; }
    // The effect is going away first; the editor must not reach back into it.
    void detachEffect() { effect = nullptr; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};

}  // namespace vst2
