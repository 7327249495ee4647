#include "CControl.h"

#include <algorithm>
#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "platform/input.h"

namespace gui {

int CControlListener::controlModifierClicked(CDrawContext*, CControl*, int) { return 0; }

CControl::CControl(const CRect& size, CControlListener* listener, int tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
    delta = std::max(platform::input().doubleClickTime(), 250);
    setMouseEnabled(true);
    setTransparency(false);
    if (background) {
        pBackground = background;
        pBackground->remember();
    }
}

CControl::~CControl() = default;

bool CControl::isDirty() const { return oldValue != value || CView::isDirty(); }

void CControl::setDirty(bool state) {
    CView::setDirty(state);
    if (state)
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    else
        oldValue = value;
}

bool CControl::isTypeOf(const char* type) const {
    return (type && std::strcmp(type, "CControl") == 0) || CView::isTypeOf(type);
}

void CControl::doIdleStuff() {
    if (pParentFrame) pParentFrame->doIdleStuff();
}

void CControl::setValue(float v) { value = v; }
float CControl::getValue() const { return value; }
void CControl::setMin(float v) { vmin = v; }
float CControl::getMin() const { return vmin; }
void CControl::setMax(float v) { vmax = v; }
float CControl::getMax() const { return vmax; }
void CControl::setOldValue(float v) { oldValue = v; }
float CControl::getOldValue() const { return oldValue; }
void CControl::setDefaultValue(float v) { defaultValue = v; }
float CControl::getDefaultValue() const { return defaultValue; }
void CControl::setTag(int t) { tag = t; }
int CControl::getTag() const { return tag; }

void CControl::beginEdit() {
    if (!pParentFrame) return;
    pParentFrame->setFocusView(this);
    pParentFrame->beginEdit(tag);
}

void CControl::endEdit() {
    if (pParentFrame) pParentFrame->endEdit(tag);
}

void CControl::setBackOffset(const CPoint& offset) { backOffset = offset; }
void CControl::copyBackOffset() { backOffset = CPoint(size.left, size.top); }
void CControl::setWheelInc(float v) { wheelInc = v; }
float CControl::getWheelInc() const { return wheelInc; }

void CControl::bounceValue() {
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

bool CControl::checkDefaultValue(CDrawContext* context, int button) {
    if (button != (kControl | kLButton)) return false;
    beginEdit();
    value = defaultValue;
    if (isDirty() && listener) listener->valueChanged(context, this);
    endEdit();
    return true;
}

int CControl::currentButtons(CDrawContext* context, int buttons) {
    if (buttons != -1) return buttons;
    return context ? context->getMouseButtons() : platform::input().buttonState();
}

bool CControl::listenerTookModifierClick(CDrawContext* context, int buttons) {
    return listener && (buttons & kModifierMask) &&
           listener->controlModifierClicked(context, this, buttons) != 0;
}

}  // namespace gui
