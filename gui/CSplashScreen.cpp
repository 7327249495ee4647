#include "CSplashScreen.h"

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"

namespace gui {

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, int tag,
                             CBitmap* background, const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay(toDisplay), offset(offset) {}

CSplashScreen::~CSplashScreen() = default;

void CSplashScreen::draw(CDrawContext* context) {
    if (value != 0.0f && pBackground) {
        if (bTransparencyEnabled && bitmapTransparency < 255)
            pBackground->drawAlphaBlend(context, toDisplay, offset, bitmapTransparency);
        else if (bTransparencyEnabled)
            pBackground->drawTransparent(context, toDisplay, offset);
        else
            pBackground->draw(context, toDisplay, offset);
    }
    setDirty(false);
}

bool CSplashScreen::hitTest(const CPoint& where, int buttons) {
    if (buttons == -1) buttons = currentButtons(nullptr, buttons);
    return CControl::hitTest(where, buttons) && (buttons & kLButton);
}

void CSplashScreen::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    if (value != 0.0f) {
        unSplash();
        return;
    }
    value = 1.0f;
    // While shown, the control covers and takes presses over the whole picture.
    keepSize = size;
    size = toDisplay;
    mouseableArea = toDisplay;
    if (listener) listener->valueChanged(context, this);
    setDirty();
}

void CSplashScreen::unSplash() {
    if (value != 0.0f) {
        value = 0.0f;
        if (!keepSize.isEmpty()) {
            size = keepSize;
            mouseableArea = keepSize;
            keepSize = CRect();
            if (pParentFrame) pParentFrame->setDirty(true);
        }
        if (listener) listener->valueChanged(nullptr, this);
    }
    setDirty();
}

}  // namespace gui
