#include "CAnimKnob3.h"

#include <cstdint>

#include "gui/CBitmap.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"

using namespace gui;

namespace {

int heightOfOneFrame(const CBitmap* strip, int frameCount) {
    return strip && frameCount > 0 ? strip->getHeight() / frameCount : 0;
}

}  // namespace

CAnimKnob3::CAnimKnob3(const CRect& size, CControlListener* listener, int tag, CBitmap* strip,
                       int frameCount)
    : CAnimKnob(size, listener, tag, frameCount, heightOfOneFrame(strip, frameCount), strip) {}

CAnimKnob3::~CAnimKnob3() = default;

void CAnimKnob3::setSensitivity(double factor) { sensitivity = factor; }

float CAnimKnob3::shownValue() const {
    if (subPixmaps < 2) return value;
    return static_cast<float>(frameIndex()) / static_cast<float>(subPixmaps - 1);
}

int CAnimKnob3::frameIndex() const {
    if (!(value > 0.0f)) return 0;
    // The product in single precision and the rounding half in double, so that a
    // value half a step up (0.0125 of 41 pictures) shows the next picture.
    const float scaled = static_cast<float>(subPixmaps - 1) * value;
    const double rounded = static_cast<double>(scaled) + 0.5;
    if (rounded >= subPixmaps - 1) return subPixmaps > 0 ? subPixmaps - 1 : 0;
    return static_cast<int>(rounded);
}

void CAnimKnob3::draw(CDrawContext* context) {
    if (pBackground) {
        const CPoint from(0, frameIndex() * heightOfOneImage);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

float CAnimKnob3::rangeFor(int buttons) const {
    return static_cast<float>(sensitivity * ((buttons & kShift) ? 4000.0 : 1000.0));
}

void CAnimKnob3::resetToDefault(CDrawContext* context) {
    beginEdit();
    value = defaultValue;
    if (isDirty() && listener) listener->valueChanged(context, this);
    endEdit();
}

bool CAnimKnob3::secondPressOfDoubleClick() {
    const std::uint32_t now = pParentFrame ? pParentFrame->getTicks() : 0;
    // 0 and -1 mean "no press recorded". Tick counts pass 2^31 ms after 24.8
    // days and are kept in the signed field as they are, so the two readings
    // are compared by their difference, never by their order.
    const bool recorded = lastTicks != 0 && lastTicks != -1;
    if (recorded && static_cast<std::int32_t>(now - static_cast<std::uint32_t>(lastTicks)) < delta) {
        // A third quick press starts a drag again.
        lastTicks = 0;
        return true;
    }
    lastTicks = static_cast<int>(now);
    return false;
}

void CAnimKnob3::mouse(CDrawContext* context, CPoint& where, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (!(buttons & kLButton)) return;
    // The editor answers with the effect's own value, which the drag then starts from.
    if (listener) listener->valueChanged(context, this);

    if (buttons == (kLButton | kControl) || secondPressOfDoubleClick()) {
        resetToDefault(context);
        return;
    }

    float entryValue = value;
    float coefficient = (vmax - vmin) / rangeFor(buttons);
    if (listener) listener->valueChanged(context, this);
    CPoint first;
    getMouseLocation(context, first);
    doIdleStuff();
    beginEdit();

    // Travel is counted, not clamped: moving right adds one per pixel, moving
    // up two, so after overshooting an end the value waits until the pointer
    // has come back that far.
    int accumulator = first.h;
    CPoint previous = first;
    CPoint current = first;
    int state = buttons;
    for (;;) {
        const int now = currentButtons(context, -1);
        if (!(now & kLButton)) break;
        const double step = static_cast<double>(current.h - previous.h) +
                            2.0 * static_cast<double>(previous.v - current.v);
        accumulator = static_cast<int>(static_cast<float>(accumulator) + static_cast<float>(step));
        previous = current;
        const float travel = static_cast<float>((accumulator - first.v) - where.h + where.v);
        if (now != state) {
            // Shift pressed or released: the same travel keeps the same value
            // under the new scale, so the knob does not jump.
            const float newCoefficient = (vmax - vmin) / rangeFor(now);
            entryValue += (coefficient - newCoefficient) * travel;
            coefficient = newCoefficient;
            state = now;
        }
        value = travel * coefficient + entryValue;
        if (value > vmax)
            value = vmax;
        else if (value < vmin)
            value = vmin;
        if (isDirty() && listener) listener->valueChanged(context, this);
        getMouseLocation(context, current);
        doIdleStuff();
    }
    if (listener) listener->valueChanged(context, this);
    endEdit();
}
