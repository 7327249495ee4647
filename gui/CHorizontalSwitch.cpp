#include "CHorizontalSwitch.h"

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, int tag,
                                     int subPixmaps, int heightOfOneImage, int iMaxPositions,
                                     CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      subPixmaps(subPixmaps),
      iMaxPositions(iMaxPositions),
      heightOfOneImage(heightOfOneImage) {
    setDefaultValue(0.0f);
}

CHorizontalSwitch::~CHorizontalSwitch() = default;

void CHorizontalSwitch::draw(CDrawContext* context) {
    if (pBackground) {
        const float position = static_cast<float>(iMaxPositions - 1) * value + 0.5f;
        const CPoint from(0, static_cast<int>(position) * heightOfOneImage);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

void CHorizontalSwitch::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    if (checkDefaultValue(context, buttons)) return;

    // The positions divide the picture's width (the control's when there is none).
    const int pictureWidth = pBackground ? pBackground->getWidth() : size.width();
    const double widthOfPosition =
        iMaxPositions > 0 ? static_cast<double>(pictureWidth) / iMaxPositions : 0.0;

    beginEdit();
    CPoint pointer = where;
    const int pressState = buttons;
    do {
        int position = 0;
        if (widthOfPosition > 0.0)
            position = static_cast<int>((pointer.h - size.left) / widthOfPosition);
        value = iMaxPositions > 1
                    ? static_cast<float>(position) / static_cast<float>(iMaxPositions - 1)
                    : 0.0f;
        if (value > 1.0f)
            value = 1.0f;
        else if (value < 0.0f)
            value = 0.0f;
        if (isDirty() && listener) listener->valueChanged(context, this);
        getMouseLocation(context, pointer);
        doIdleStuff();
    } while (currentButtons(context, -1) == pressState);
    endEdit();
}

}  // namespace gui
