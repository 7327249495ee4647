// A memory button of the preset panel: it acts the moment it goes down and
// shows its pressed picture until released. Four 14-pixel pictures, one
// above the other: normal, hovered, pressed, inactive.
#pragma once

#include "gui/COnOffButton.h"

class CPSOnOffButton : public gui::COnOffButton {
public:
    CPSOnOffButton(const gui::CRect& size, gui::CControlListener* listener, int tag,
                   gui::CBitmap* strip, int style = 0);
    ~CPSOnOffButton() override;

    void draw(gui::CDrawContext* context) override;
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    // Set by the panel's idle pass; redraws when it changes.
    virtual void setHover(bool on);

    bool isHovered() const { return hover; }
    bool isActive() const { return active; }
    bool isPressed() const { return pressed; }
    // The picture the button shows now.
    int frameIndex() const;

protected:
    bool hover = false;
    bool active = true;
    bool pressed = false;
};
