// What the preset panel's own buttons call on the editor besides the usual
// change notification: the four file operations and stepping through presets.
#pragma once

#include "gui/CControlListener.h"

class CPresetSystemListener : public gui::CControlListener {
public:
    // Modal file dialogs; they return after the user closed them.
    virtual void loadBank() = 0;
    virtual void saveBank() = 0;
    virtual void loadPreset() = 0;
    virtual void savePreset() = 0;
    // Selects the next (up) or previous preset, staying within the bank.
    virtual void stepPreset(bool up) = 0;

protected:
    ~CPresetSystemListener() = default;
};
