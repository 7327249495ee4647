// A rocker with a middle rest position: pressing one half reports -1.0 (left
// or top) or +1.0 until the button is released, then 0.0 again.
#pragma once

#include "CControl.h"

namespace gui {

enum { kHorizontal = 1, kVertical = 2 };

class CRockerSwitch : public CControl {
public:
    // The bitmap holds three pictures: -1.0, rest and +1.0, one above the other.
    CRockerSwitch(const CRect& size, CControlListener* listener, int tag, int heightOfOneImage,
                  CBitmap* background, const CPoint& offset = CPoint(0, 0),
                  int style = kHorizontal);
    ~CRockerSwitch() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    using CControl::onWheel;
    // One notch reports -1.0 (positive distance) or +1.0, then 0.0, in one edit.
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;

protected:
    CPoint offset;
    int heightOfOneImage;
    int style;
};

}  // namespace gui
