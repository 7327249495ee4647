// A small editor made of the toolkit's stock controls on the plug-in's own
// artwork, built the same way on the Linux backend (in a real X window) and
// on the headless one (the reference picture): background, a three-position
// switch, a film-strip knob, a text field and an option menu.
#pragma once

#include <string>
#include <vector>

#include "gui/toolkit.h"
#include "tests/support/editorHost.h"

namespace scene {

constexpr int kWidth = 400;
constexpr int kHeight = 309;
constexpr int kSwitchTag = 0;
constexpr int kKnobTag = 5;
constexpr int kFieldTag = 43;
constexpr int kMenuTag = 44;
// Where the controls sit, in window coordinates.
inline const gui::CRect kSwitchRect(30, 40, 136, 118);
inline const gui::CRect kKnobRect(200, 30, 314, 144);
inline const gui::CRect kFieldRect(40, 262, 200, 282);
inline const gui::CRect kMenuRect(220, 262, 360, 282);

// What the controls show; enough to draw the same picture twice.
struct State {
    float switchValue = 0.5f;
    float knobValue = 0.25f;
    int menuIndex = 0;  // raw entry index
    std::string text = "Gentle Bus";
};

// What reached the listener and the effect, in order.
using testsupport::Log;

// The plug-in's stand-in behind the editor.
using Effect = testsupport::RecordingEffect;

class Editor : public testsupport::TestEditor, public gui::CControlListener {
public:
    // Links itself to the effect, which deletes it.
    Editor(Effect* effect, Log& log);
    bool open(void* parent) override;
    void close() override;
    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;
    int controlModifierClicked(gui::CDrawContext*, gui::CControl*, int) override { return 0; }

    // Sets the controls as a host or a preset would, without notifying.
    void show(const State& state);
    State state() const;
    bool isOpen() const { return frame != nullptr; }

    gui::CHorizontalSwitch* switchControl = nullptr;
    gui::CAnimKnob* knob = nullptr;
    gui::CTextEdit* field = nullptr;
    gui::COptionMenu* menu = nullptr;
    int changes = 0;

private:
    Log& log;
};

}  // namespace scene
