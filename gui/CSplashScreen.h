// A control that, when clicked, shows a picture over a larger display
// rectangle until it is clicked again; the base of the about screen.
#pragma once

#include "CControl.h"

namespace gui {

class CSplashScreen : public CControl {
public:
    CSplashScreen(const CRect& size, CControlListener* listener, int tag, CBitmap* background,
                  const CRect& toDisplay, const CPoint& offset = CPoint(0, 0));
    ~CSplashScreen() override;

    void draw(CDrawContext* context) override;
    // Only inside the mouseable area and with the left button in the state.
    bool hitTest(const CPoint& where, int buttons = -1) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;

    // Sets the value to 0.0 and tells the listener, unless it already was 0.0.
    virtual void unSplash();

    const CRect& getDisplayRect() const { return toDisplay; }
    const CPoint& getBitmapOffset() const { return offset; }
    void setBitmapTransparency(unsigned char value) { bitmapTransparency = value; }
    unsigned char getBitmapTransparency() const { return bitmapTransparency; }

protected:
    CRect toDisplay;
    CRect keepSize;
    CPoint offset;
    unsigned char bitmapTransparency = 255;
};

}  // namespace gui
