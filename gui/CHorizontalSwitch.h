// A switch with a fixed number of positions side by side: the pointer's
// horizontal place over the switch picks the position, and the bitmap holds
// one picture per position, one above the other.
#pragma once

#include "CControl.h"

namespace gui {

class CHorizontalSwitch : public CControl {
public:
    CHorizontalSwitch(const CRect& size, CControlListener* listener, int tag, int subPixmaps,
                      int heightOfOneImage, int iMaxPositions, CBitmap* background,
                      const CPoint& offset = CPoint(0, 0));
    ~CHorizontalSwitch() override;

    void draw(CDrawContext* context) override;
    // Tracks the drag until the button-and-modifier state changes.
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;

    int getPositions() const { return iMaxPositions; }
    int getHeightOfOneImage() const { return heightOfOneImage; }

protected:
    CPoint offset;
    int subPixmaps;
    int iMaxPositions;
    int heightOfOneImage;
};

}  // namespace gui
