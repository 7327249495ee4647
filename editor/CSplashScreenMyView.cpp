#include "CSplashScreenMyView.h"

#include <cstdio>

#include "CAbout.h"
#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

using namespace gui;

namespace {

constexpr CColor kVersionColour{200, 200, 200, 255};
const CRect kVersionRect(299, 70, 340, 81);
// Under the version, smaller and dimmer: the scale the editor was opened at.
constexpr CColor kScaleColour{150, 150, 150, 255};
const CRect kScaleRect(299, 81, 370, 91);

}  // namespace

CSplashScreenMyView::CSplashScreenMyView(CAbout* splash, const char* version)
    : CView(splash->getDisplayRect()), splash(splash) {
    std::snprintf(versionText, sizeof versionText, "%s", version ? version : "");
    setTransparency(splash->getTransparency());
    setBackground(splash->getBackground());  // takes a reference, marks dirty
}

CSplashScreenMyView::~CSplashScreenMyView() = default;

void CSplashScreenMyView::draw(CDrawContext* context) {
    if (pBackground) {
        const CPoint& offset = splash->getBitmapOffset();
        if (!bTransparencyEnabled)
            pBackground->draw(context, size, offset);
        else if (splash->getBitmapTransparency() != 0)
            pBackground->drawAlphaBlend(context, size, offset, splash->getBitmapTransparency());
        else
            pBackground->drawTransparent(context, size, offset);
    }
    char line[sizeof versionText + 3];
    std::snprintf(line, sizeof line, "v. %s", versionText);
    context->setFont(kNormalFont, 0, kNormalFace);
    context->setFontColor(kVersionColour);
    context->drawString(line, kVersionRect, false, kLeftText);
    char scale[32];
    std::snprintf(scale, sizeof scale, "scale %gx", context->getScale());
    context->setFont(kNormalFontVerySmall, 0, kNormalFace);
    context->setFontColor(kScaleColour);
    context->drawString(scale, kScaleRect, false, kLeftText);
    setDirty(false);
}

void CSplashScreenMyView::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (buttons == -1) buttons = context ? context->getMouseButtons() : platform::input().buttonState();
    if (!(buttons & kLButton)) return;
    splash->unSplash();
    CFrame* frame = pParentFrame;
    if (frame) {
        frame->setDirty(true);
        frame->setModalView(nullptr);  // drops the frame's reference only
    }
    forget();  // the creator's reference: the view is gone after this
}
