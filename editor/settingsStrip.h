// The strip below the panel that holds the instance's settings: the Mix
// knob and the Oversampling, Sidechain Filter and Key selectors, over a
// picture of its own. The editor adds it to its frame and makes the window
// taller to show it; its controls' tags are their parameters' indices.
#pragma once

#include "core/editorModel.h"

namespace gui {
class CBitmap;
class CControl;
class CControlListener;
class CFrame;
class CHorizontalSwitch;
class CView;
}  // namespace gui

class CAnimKnob3;

class CSettingsStrip {
public:
    // Loads the strip's picture, for its height; the controls come with add().
    CSettingsStrip();
    ~CSettingsStrip();
    CSettingsStrip(const CSettingsStrip&) = delete;
    CSettingsStrip& operator=(const CSettingsStrip&) = delete;

    // The layout pixels the strip adds below the panel.
    int height() const;
    // Adds the strip's views to the frame at `top`, showing the model's
    // values; false when a picture is missing (nothing is added then).
    bool add(gui::CFrame& frame, gui::CControlListener* listener, EditorModel& model, int top);
    // The frame that held the views is going.
    void forget();

    // The control of parameter `index`, or null.
    gui::CControl* controlOf(int index) const;
    // The control of `index` shows the model's value.
    void show(int index, EditorModel& model);
    // A control of the strip was moved: the value it stands for, normalised
    // as its parameter takes it, or a negative number for a control of another.
    float valueOf(const gui::CControl* control) const;

private:
    gui::CBitmap* picture;
    gui::CView* background = nullptr;
    CAnimKnob3* mixKnob = nullptr;
    gui::CHorizontalSwitch* switches[3] = {};  // Oversampling, Sidechain Filter, Key
};
