// A button with two pictures (off above on) that toggles on each press.
#pragma once

#include "CControl.h"

namespace gui {

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, int tag, CBitmap* background,
                 int style = 0);
    ~COnOffButton() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;

    virtual void setStyle(int newStyle);
    virtual int getStyle() const;

protected:
    int style;
};

}  // namespace gui
