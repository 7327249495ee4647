// The editor's film-strip knob: one picture per step of its parameter, turned
// by a linear drag (right or up raises it, up counting twice), four times
// finer while Shift is held, and reset to its default by Ctrl+click or a
// double click. Wheel and arrow keys work as on every knob.
#pragma once

#include "gui/CAnimKnob.h"

class CAnimKnob3 : public gui::CAnimKnob {
public:
    // `size` is the frame's top left corner plus the strip's width and one
    // picture's height; the strip holds `frameCount` pictures one above the other.
    CAnimKnob3(const gui::CRect& size, gui::CControlListener* listener, int tag,
               gui::CBitmap* strip, int frameCount);
    ~CAnimKnob3() override;

    void draw(gui::CDrawContext* context) override;
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    // Pixels of travel for the whole range: factor * 1000 (factor * 4000 with Shift).
    virtual void setSensitivity(double factor);

    double getSensitivity() const { return sensitivity; }
    // The picture shown for the current value.
    int frameIndex() const;
    // The value that picture stands for: the parameter's step nearest the knob.
    float shownValue() const;

private:
    // Ctrl+click and double click: the default value inside an edit of its own.
    void resetToDefault(gui::CDrawContext* context);
    // True when this press is the second of a double click; records the press otherwise.
    bool secondPressOfDoubleClick();
    float rangeFor(int buttons) const;

    double sensitivity = 1.0;
};
