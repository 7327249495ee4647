#include "COnOffButton.h"

#include "CBitmap.h"

namespace gui {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int tag,
                           CBitmap* background, int style)
    : CControl(size, listener, tag, background), style(style) {}

COnOffButton::~COnOffButton() = default;

void COnOffButton::draw(CDrawContext* context) {
    if (pBackground) {
        const int heightOfOneImage = pBackground->getHeight() / 2;
        const CPoint from(0, value != 0.0f ? heightOfOneImage : 0);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

void COnOffButton::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    value = value != 0.0f ? 0.0f : 1.0f;
    beginEdit();
    if (listener) listener->valueChanged(context, this);
    endEdit();
}

void COnOffButton::setStyle(int newStyle) { style = newStyle; }
int COnOffButton::getStyle() const { return style; }

}  // namespace gui
