#include "CKickButton.h"

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int tag,
                         int heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      heightOfOneImage(heightOfOneImage) {}

CKickButton::~CKickButton() = default;

void CKickButton::draw(CDrawContext* context) {
    if (pBackground) {
        const CPoint from(offset.h, offset.v + (value > 0.5f ? heightOfOneImage : 0));
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

void CKickButton::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;

    beginEdit();
    CPoint pointer = where;
    do {
        value = size.pointInside(pointer) ? 1.0f : 0.0f;
        if (isDirty() && listener) listener->valueChanged(context, this);
        getMouseLocation(context, pointer);
        doIdleStuff();
    } while (currentButtons(context, -1) & kLButton);
    // Released over the button: the kick is over; released elsewhere: never happened.
    if (value > 0.5f) {
        value = 0.0f;
        if (listener) listener->valueChanged(context, this);
    }
    endEdit();
}

}  // namespace gui
