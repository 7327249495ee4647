#include "CPSRockerSwitch.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

using namespace gui;

namespace {

constexpr int kFrameHeight = 14;

}  // namespace

CPSRockerSwitch::CPSRockerSwitch(const CRect& size, CControlListener* listener, int tag,
                                 int heightOfOneImage, CBitmap* strip, const CPoint& offset,
                                 int style, CPresetSystemListener* presetListener)
    : CRockerSwitch(size, listener, tag, heightOfOneImage, strip, offset, style),
      presetListener(presetListener),
      leftHalf(size.left, size.top, (size.left + size.right) / 2, size.bottom),
      rightHalf((size.left + size.right) / 2, size.top, size.right, size.bottom) {}

CPSRockerSwitch::~CPSRockerSwitch() = default;

void CPSRockerSwitch::setHover(bool on, const CPoint& where) {
    int state = 0;
    if (on) {
        if (leftHalf.pointInsideEdges(where))
            state = 1;
        else if (rightHalf.pointInsideEdges(where))
            state = 2;
        else
            state = hoverState;
    }
    if (state == hoverState) return;
    hoverState = state;
    setDirty();
}

int CPSRockerSwitch::frameIndex() const {
    if (value == 1.0f) return 4;
    if (value == -1.0f) return 3;
    return hoverState == 1 ? 1 : hoverState == 2 ? 2 : 0;
}

void CPSRockerSwitch::draw(CDrawContext* context) {
    if (!pBackground) return;
    pBackground->draw(context, size, CPoint(0, frameIndex() * kFrameHeight));
    setDirty(false);
}

void CPSRockerSwitch::mouse(CDrawContext* context, CPoint& where, int buttons) {
    buttons = currentButtons(context, buttons);
    if (!(buttons & kLButton) || !bMouseEnabled || !presetListener) return;
    // The dividing column belongs to the left half.
    const int half = (size.right - size.left) / 2;
    const bool inRows = where.v >= size.top && where.v <= size.bottom;
    if (inRows && where.h >= size.left && where.h <= size.left + half) {
        value = -1.0f;
        doIdleStuff();
        presetListener->stepPreset(false);
        setDirty();
    } else if (inRows && where.h >= size.left + half && where.h <= size.right) {
        value = 1.0f;
        doIdleStuff();
        presetListener->stepPreset(true);
        setDirty();
    }
    value = 0.0f;
}
