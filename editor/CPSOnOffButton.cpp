#include "CPSOnOffButton.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"

using namespace gui;

CPSOnOffButton::CPSOnOffButton(const CRect& size, CControlListener* listener, int tag,
                               CBitmap* strip, int style)
    : COnOffButton(size, listener, tag, strip, style) {}

CPSOnOffButton::~CPSOnOffButton() = default;

void CPSOnOffButton::setHover(bool on) {
    if (on == hover) return;
    hover = on;
    setDirty();
}

int CPSOnOffButton::frameIndex() const {
    if (!active) return 3;
    if (pressed) return 2;
    return hover ? 1 : 0;
}

void CPSOnOffButton::draw(CDrawContext* context) {
    if (!pBackground) return;
    const int frameHeight = pBackground->getHeight() / 4;
    pBackground->draw(context, size, CPoint(0, frameIndex() * frameHeight));
    setDirty(false);
}

void CPSOnOffButton::mouse(CDrawContext* context, CPoint&, int buttons) {
    buttons = currentButtons(context, buttons);
    if (!(buttons & kLButton) || !bMouseEnabled) return;
    // The memory is stored or recalled as the button goes down.
    if (listener) listener->valueChanged(context, this);
    pressed = true;
    setDirty();
    // Waiting for the release through the idle processing paints the pressed
    // picture and keeps the loop from spinning.
    while (currentButtons(context, -1) & kLButton) doIdleStuff();
    pressed = false;
    setDirty();
}
