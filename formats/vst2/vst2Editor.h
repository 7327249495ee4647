// The editor behind the VST 2.x editor interface: the dispatcher's editor
// opcodes reach the plug-in's editor through it, rectangles and keys turned
// into the toolkit's own. Host's GUI thread throughout.
#pragma once

#include "aeffeditor.h"
#include "editor/ADEditor.h"

class Vst2Editor : public vst2::AEffEditor {
public:
    // Links itself to the effect and raises its has-editor flag.
    Vst2Editor(vst2::AudioEffect* effect, EditorModel& model) : AEffEditor(effect), editor(model) {}

    bool getRect(vst2::ERect** rect) override;
    bool open(void* ptr) override;
    void close() override;
    void idle() override { editor.idle(); }
    bool onKeyDown(vst2::VstKeyCode& keyCode) override;
    bool onKeyUp(vst2::VstKeyCode& keyCode) override;
    bool setKnobMode(vst2::int32 mode) override { return editor.setKnobMode(mode); }
    bool onWheel(float distance) override { return editor.onWheel(distance); }

    ADEditor& view() { return editor; }

private:
    ADEditor editor;
    vst2::ERect shown{};  // the rectangle the host was last given
};
