// A push button that reports 1.0 while held over it and 0.0 when released.
#pragma once

#include "CControl.h"

namespace gui {

class CKickButton : public CControl {
public:
    // The bitmap holds the released picture above the pressed one.
    CKickButton(const CRect& size, CControlListener* listener, int tag, int heightOfOneImage,
                CBitmap* background, const CPoint& offset = CPoint(0, 0));
    ~CKickButton() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;

protected:
    CPoint offset;
    int heightOfOneImage;
};

}  // namespace gui
