#include "CSaveLoadButton.h"

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

using namespace gui;

namespace {

constexpr int kFrameHeight = 14;

}  // namespace

CSaveLoadButton::CSaveLoadButton(const CRect& size, CControlListener* listener, int tag,
                                 int heightOfOneImage, CBitmap* strip, const CPoint& offset,
                                 int kind, CPresetSystemListener* presetListener)
    : CKickButton(size, listener, tag, heightOfOneImage, strip, offset),
      kind(kind),
      presetListener(presetListener) {}

CSaveLoadButton::~CSaveLoadButton() = default;

void CSaveLoadButton::setHover(bool on) {
    if (on == hover) return;
    hover = on;
    setDirty();
}

int CSaveLoadButton::frameIndex() const {
    if (value > 0.5f) return 2;
    return value < 0.5f && hover ? 1 : 0;
}

void CSaveLoadButton::draw(CDrawContext* context) {
    if (pBackground)
        pBackground->draw(context, size, CPoint(offset.h, offset.v + frameIndex() * kFrameHeight));
    setDirty(false);
}

void CSaveLoadButton::mouse(CDrawContext* context, CPoint&, int buttons) {
    buttons = currentButtons(context, buttons);
    if (!(buttons & kLButton) || !bMouseEnabled) return;
    if (!pParentFrame || !context || !presetListener) return;
    value = 1.0f;
    switch (kind) {
        case kLoadBank: presetListener->loadBank(); break;
        case kSaveBank: presetListener->saveBank(); break;
        case kLoadPreset: presetListener->loadPreset(); break;
        case kSavePreset: presetListener->savePreset(); break;
        default: break;
    }
    // The dialog has closed; the pressed picture stays until the release,
    // painted by the idle processing while we wait.
    while (currentButtons(context, -1) & kLButton) doIdleStuff();
    // The editor keeps this edit of a tag that is no parameter from the host.
    pParentFrame->endEdit(tag);
    value = 0.0f;
    setDirty();
}
