#include "CKnob.h"

#include <cmath>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "platform/input.h"

namespace gui {

namespace {
constexpr double kPi = 3.14159265358979323846;
// Pixels of linear travel for the whole range.
constexpr float kLinearRange = 200.0f;
}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, int tag, CBitmap* background,
             CBitmap* handle, const CPoint& offset)
    : CControl(size, listener, tag, background),
      offset(offset),
      radius(static_cast<float>(size.width()) / 2.0f) {
    if (handle) setHandleBitmap(handle);
    setWantsFocus(true);
    compute();
}

CKnob::~CKnob() {
    if (pHandle) pHandle->forget();
}

void CKnob::compute() {
    aCoef = (vmax - vmin) / rangeAngle;
    bCoef = vmin - aCoef * startAngle;
}

void CKnob::setStartAngle(float angle) {
    startAngle = angle;
    compute();
}
float CKnob::getStartAngle() const { return startAngle; }
void CKnob::setRangeAngle(float angle) {
    rangeAngle = angle;
    compute();
}
float CKnob::getRangeAngle() const { return rangeAngle; }
void CKnob::setInsetValue(int value) { inset = value; }
void CKnob::setColorShadowHandle(CColor color) {
    colorShadowHandle = color;
    setDirty();
}
void CKnob::setColorHandle(CColor color) {
    colorHandle = color;
    setDirty();
}

void CKnob::setHandleBitmap(CBitmap* handle) {
    if (handle) handle->remember();
    if (pHandle) pHandle->forget();
    pHandle = handle;
    if (pHandle) inset = static_cast<int>(pHandle->getWidth() / 2.0 + 2.5);
}

void CKnob::setZoomFactor(float factor) { zoomFactor = factor; }
float CKnob::getZoomFactor() const { return zoomFactor; }

void CKnob::valueToPoint(CPoint& point) const {
    const double angle = (value - bCoef) / aCoef;
    point.h = static_cast<int>(radius + std::cos(angle) * (radius - inset) + 0.5);
    point.v = static_cast<int>(radius - std::sin(angle) * (radius - inset) + 0.5);
}

float CKnob::valueFromPoint(CPoint& point) const {
    const double dx = point.h - radius;
    const double dy = radius - point.v;
    if (dx == 0.0 && dy == 0.0) return value;
    // The angle travelled from the start in the knob's own direction.
    const double direction = rangeAngle < 0 ? -1.0 : 1.0;
    double travelled = (std::atan2(dy, dx) - startAngle) * direction;
    while (travelled < 0.0) travelled += 2.0 * kPi;
    while (travelled >= 2.0 * kPi) travelled -= 2.0 * kPi;
    const double range = std::fabs(rangeAngle);
    if (travelled > range) {
        // In the gap below the scale: the nearer end wins.
        travelled = travelled > range + (2.0 * kPi - range) / 2.0 ? 0.0 : range;
    }
    return static_cast<float>(vmin + (vmax - vmin) * travelled / range);
}

void CKnob::draw(CDrawContext* context) {
    if (pBackground) {
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, offset);
        else
            pBackground->draw(context, size, offset);
    }
    drawHandle(context);
    setDirty(false);
}

void CKnob::drawHandle(CDrawContext* context) {
    CPoint where;
    valueToPoint(where);
    where.offset(size.left, size.top);
    if (pHandle) {
        const int w = pHandle->getWidth();
        const int h = pHandle->getHeight();
        const CRect at(where.h - w / 2, where.v - h / 2, where.h - w / 2 + w, where.v - h / 2 + h);
        pHandle->drawTransparent(context, at);
        return;
    }
    const CPoint centre(size.left + size.width() / 2, size.top + size.height() / 2);
    context->setLineWidth(1);
    context->setFrameColor(colorShadowHandle);
    context->moveTo(CPoint(centre.h + 1, centre.v + 1));
    context->lineTo(CPoint(where.h + 1, where.v + 1));
    context->setFrameColor(colorHandle);
    context->moveTo(centre);
    context->lineTo(where);
}

void CKnob::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    if (checkDefaultValue(context, buttons)) return;

    const bool linear = pParentFrame && pParentFrame->getKnobMode() == kLinearMode;
    float range = (buttons & kShift) ? kLinearRange * zoomFactor : kLinearRange;
    float entryValue = value;
    CPoint first = where;
    CPoint pointer = where;
    int state = buttons;
    beginEdit();
    do {
        if (linear) {
            const int travel = (pointer.h - first.h) + (first.v - pointer.v);
            value = entryValue + static_cast<float>(travel) * (vmax - vmin) / range;
            bounceValue();
        } else {
            CPoint local(pointer.h - size.left, pointer.v - size.top);
            value = valueFromPoint(local);
        }
        if (isDirty() && listener) listener->valueChanged(context, this);
        const CPoint drawnAt = pointer;
        getMouseLocation(context, pointer);
        doIdleStuff();
        const int now = currentButtons(context, -1);
        if ((now & kShift) != (state & kShift)) {
            // Fine mode starts from where the knob is, without a jump.
            entryValue = value;
            first = drawnAt;
            range = (now & kShift) ? kLinearRange * zoomFactor : kLinearRange;
        }
        state = now;
    } while (state & kLButton);
    endEdit();
}

void CKnob::step(CDrawContext* context, float steps) {
    value += steps * wheelInc;
    bounceValue();
    if (isDirty() && listener) {
        beginEdit();
        listener->valueChanged(context, this);
        endEdit();
    }
}

bool CKnob::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!bMouseEnabled) return false;
    const int buttons =
        context ? context->getMouseButtons() : platform::input().buttonState();
    step(context, (buttons & kShift) ? 0.1f * distance : distance);
    return true;
}

int CKnob::onKeyDown(KeyCode& keyCode) {
    float steps = 0.0f;
    switch (keyCode.virt) {
        case VKEY_UP:
        case VKEY_RIGHT:
            steps = 1.0f;
            break;
        case VKEY_DOWN:
        case VKEY_LEFT:
            steps = -1.0f;
            break;
        default:
            return -1;
    }
    if (keyCode.modifier & MODIFIER_SHIFT) steps *= 0.1f;
    step(nullptr, steps);
    return 1;
}

}  // namespace gui
