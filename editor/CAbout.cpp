#include "CAbout.h"

#include "CSplashScreenMyView.h"
#include "kvbrVersion.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

using namespace gui;

namespace {

// The plug-in's version (VST 2.x hosts see it as 1100).
constexpr const char* kVersionText = KVBR_VERSION;

}  // namespace

CAbout::CAbout(const CRect& size, CControlListener* listener, int tag, CBitmap* picture,
               const CRect& toDisplay, const CPoint& offset)
    : CSplashScreen(size, listener, tag, picture, toDisplay, offset) {}

CAbout::~CAbout() = default;

void CAbout::draw(CDrawContext*) { setDirty(false); }

void CAbout::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    value = value == 0.0f ? 1.0f : 0.0f;
    if (value == 0.0f) return;

    auto* view = new CSplashScreenMyView(this, kVersionText);
    if (pParentFrame && pParentFrame->setModalView(view)) {
        // The frame holds the view now; the view lets go of itself when clicked.
        if (listener) listener->valueChanged(context, this);
    } else {
        // Nothing is shown, so nothing is open: no view left behind, and the
        // meter is not held still for a screen nobody sees.
        view->forget();
        value = 0.0f;
    }
    setDirty();
}
