// The preset panel's previous/next rocker: a press on its left half selects
// the previous preset, on its right half the next one, at once. Five
// 14-pixel pictures, one above the other: rest, left half hovered, right half
// hovered, left pressed, right pressed.
#pragma once

#include "CPresetSystemListener.h"
#include "gui/CRockerSwitch.h"

class CPSRockerSwitch : public gui::CRockerSwitch {
public:
    CPSRockerSwitch(const gui::CRect& size, gui::CControlListener* listener, int tag,
                    int heightOfOneImage, gui::CBitmap* strip, const gui::CPoint& offset,
                    int style, CPresetSystemListener* presetListener);
    ~CPSRockerSwitch() override;

    void draw(gui::CDrawContext* context) override;
    // Steps the preset; never notifies the listener, never brackets an edit.
    void mouse(gui::CDrawContext* context, gui::CPoint& where, int buttons = -1) override;

    // Set by the panel's idle pass with the pointer in frame coordinates:
    // picks the half under it; redraws when the state changes.
    virtual void setHover(bool on, const gui::CPoint& where);

    // 0 none, 1 left half, 2 right half.
    int getHoverState() const { return hoverState; }
    int frameIndex() const;

protected:
    CPresetSystemListener* presetListener;
    int hoverState = 0;
    gui::CRect leftHalf;
    gui::CRect rightHalf;
};
