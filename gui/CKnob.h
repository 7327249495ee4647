// A round knob: a background picture with a handle drawn at the angle of
// the value; wheel, arrow keys and dragging turn it.
#pragma once

#include "CControl.h"
#include "colours.h"

namespace gui {

// Knob modes the host may set: turning around the centre, or dragging in a line.
enum { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

class CKnob : public CControl {
public:
    CKnob(const CRect& size, CControlListener* listener, int tag, CBitmap* background,
          CBitmap* handle = nullptr, const CPoint& offset = CPoint(0, 0));
    ~CKnob() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    // Arrow keys: left and down -1, up and right +1, a tenth with Shift, times
    // the wheel increment, inside an edit.
    int onKeyDown(KeyCode& keyCode) override;
    using CControl::onWheel;
    // value += distance * wheel increment (a tenth of it with Shift).
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;

    virtual void drawHandle(CDrawContext* context);
    virtual void setStartAngle(float angle);
    virtual float getStartAngle() const;
    virtual void setRangeAngle(float angle);
    virtual float getRangeAngle() const;
    // The handle's point for the value, relative to the knob's top left corner.
    virtual void valueToPoint(CPoint& point) const;
    virtual float valueFromPoint(CPoint& point) const;
    virtual void setInsetValue(int inset);
    virtual void setColorShadowHandle(CColor color);
    virtual void setColorHandle(CColor color);
    // The inset becomes half the handle's width + 2.5, truncated.
    virtual void setHandleBitmap(CBitmap* handle);
    virtual void setZoomFactor(float factor);
    virtual float getZoomFactor() const;

protected:
    void compute();
    // Changes the value by `steps` increments inside an edit, telling the listener.
    void step(CDrawContext* context, float steps);

    CPoint offset;
    CBitmap* pHandle = nullptr;
    int inset = 3;
    float radius;
    float startAngle = 3.9269907f;   // 5 pi / 4
    float rangeAngle = -4.712389f;   // -3 pi / 2, turning clockwise
    float aCoef = 0.0f;
    float bCoef = 0.0f;
    float zoomFactor = 1.5f;
    CColor colorHandle{246, 244, 242, 255};
    CColor colorShadowHandle{80, 80, 80, 255};
};

}  // namespace gui
