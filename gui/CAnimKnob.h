// A knob drawn from a film strip: one picture per step, one above the other,
// chosen by the value; no handle is drawn.
#pragma once

#include "CKnob.h"

namespace gui {

class CAnimKnob : public CKnob {
public:
    CAnimKnob(const CRect& size, CControlListener* listener, int tag, int subPixmaps,
              int heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
    ~CAnimKnob() override;

    // Clean when the handle point of the value equals the last drawn one,
    // unless the knob was marked dirty.
    bool isDirty() const override;
    void draw(CDrawContext* context) override;

    void setInverseBitmap(bool state) { bInverseBitmap = state; }
    bool getInverseBitmap() const { return bInverseBitmap; }
    int getSubPixmaps() const { return subPixmaps; }
    int getHeightOfOneImage() const { return heightOfOneImage; }

protected:
    int subPixmaps;
    int heightOfOneImage;
    bool bInverseBitmap = false;
    // Never moved by drawing: the frame shown can change while the handle
    // point stays put, so a matching point must not hide a new frame.
    CPoint lastDrawnPoint;
};

}  // namespace gui
