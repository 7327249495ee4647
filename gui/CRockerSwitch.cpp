#include "CRockerSwitch.h"

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, int tag,
                             int heightOfOneImage, CBitmap* background, const CPoint& offset,
                             int style)
    : CControl(size, listener, tag, background),
      offset(offset),
      heightOfOneImage(heightOfOneImage),
      style(style) {
    setMin(-1.0f);
    setDefaultValue(0.0f);
}

CRockerSwitch::~CRockerSwitch() = default;

void CRockerSwitch::draw(CDrawContext* context) {
    if (pBackground) {
        const int picture = value < 0.0f ? 0 : value > 0.0f ? 2 : 1;
        const CPoint from(offset.h, offset.v + picture * heightOfOneImage);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

void CRockerSwitch::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;

    const bool firstHalf = (style & kVertical) ? where.v < size.top + size.height() / 2
                                               : where.h < size.left + size.width() / 2;
    beginEdit();
    value = firstHalf ? -1.0f : 1.0f;
    if (isDirty() && listener) listener->valueChanged(context, this);
    do {
        doIdleStuff();
    } while (currentButtons(context, -1) & kLButton);
    value = 0.0f;
    if (isDirty() && listener) listener->valueChanged(context, this);
    endEdit();
}

bool CRockerSwitch::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!bMouseEnabled) return false;
    value = distance > 0.0f ? -1.0f : 1.0f;
    beginEdit();
    if (isDirty() && listener) listener->valueChanged(context, this);
    value = 0.0f;
    if (listener) listener->valueChanged(context, this);
    endEdit();
    return true;
}

}  // namespace gui
