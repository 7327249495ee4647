#include "CBrasselVuMeter2.h"

#include <cmath>

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

using namespace gui;

namespace {

constexpr double kPi = 3.14159265358979323846;
// The composition surface: large enough for the pivot below the face and the
// overlay beneath it in frame coordinates.
constexpr int kOffscreenWidth = 400;
constexpr int kOffscreenHeight = 340;
constexpr CColor kNeedleColour{170, 165, 160, 255};

int truncated(double x) { return static_cast<int>(x); }

}  // namespace

CBrasselVuMeter2::CBrasselVuMeter2(const CRect& size, CControlListener* listener, int tag,
                                   CBitmap* face, CBitmap* overlay, void*,
                                   const CPoint& overlayPosition, const CPoint& pivot,
                                   float innerRadius, float outerRadius, float spare1,
                                   float spare2, const CRect& spareRect1, const CRect& spareRect2)
    : CControl(size, listener, tag, nullptr),
      faceBitmap(face),
      overlayBitmap(overlay),
      overlayPosition(overlayPosition),
      innerRadius(innerRadius),
      outerRadius(outerRadius),
      spareNumbers{spare1, spare2},
      pivot(pivot),
      spareRects{spareRect1, spareRect2} {
    if (faceBitmap) faceBitmap->remember();
    if (overlayBitmap) overlayBitmap->remember();
    const int faceWidth = faceBitmap ? faceBitmap->getWidth() : 0;
    const int faceHeight = faceBitmap ? faceBitmap->getHeight() : 0;
    faceRect = CRect(size.left, size.top, size.left + faceWidth, size.top + faceHeight);
}

CBrasselVuMeter2::~CBrasselVuMeter2() {
    if (faceBitmap) faceBitmap->forget();
    if (overlayBitmap) overlayBitmap->forget();
}

// ------------------------------------------------------------ auxiliary levels

float CBrasselVuMeter2::clampedLevel(float x) {
    if (x < 1e-8f) return 1e-9f;
    if (x > 4.0f) return 4.0f;
    return x;
}

void CBrasselVuMeter2::storeB(float x) {
    float y = x;
    if (std::fabs(x) < 1e-8f)
        y = 1e-9f;
    else if (x < -4.0f)
        y = -4.0f;
    else if (x > 4.0f)
        y = 4.0f;
    if (levelB >= 0.5f && y < 0.5f)
        levelB = -1.0f;
    else if (levelB > -0.5f || y >= 0.5f)
        levelB = y;
}

bool CBrasselVuMeter2::isBOff() const { return levelB < -0.5f; }

void CBrasselVuMeter2::resetB() {
    levelB = 1e-7f;
    setValue(levelA + 1e-7f);
}

void CBrasselVuMeter2::resetAll() {
    levelA = 1.1e-7f;
    levelD = 8.7e-8;
    levelE = 8.5e-8;
    levelB = 1e-7f;
    levelC = 9e-8f;
    setValue(1e-7f + 1.1e-7f);
}

void CBrasselVuMeter2::setA(float x) {
    levelA = clampedLevel(x);
    setValue(levelA);
}

void CBrasselVuMeter2::setB(float x) {
    storeB(x);
    setValue(levelA + levelB);
}

void CBrasselVuMeter2::setC(float x) {
    levelC = clampedLevel(x);
    setValue(levelA + levelB + levelC);
}

void CBrasselVuMeter2::setD(float x) {
    levelD = x;
    setValue(static_cast<float>(levelA + levelD + levelB + levelC));
}

void CBrasselVuMeter2::setE(float x) {
    levelE = x;
    setValue(static_cast<float>(levelA + levelE + levelB + levelC));
}

void CBrasselVuMeter2::setAll(float a, float b, float c, float d, float e) {
    levelA = clampedLevel(a);
    storeB(b);
    levelC = clampedLevel(c);
    levelD = d;
    levelE = e;
    setValue(e + d + levelA + levelB + levelC);
}

// ------------------------------------------------------------------ drawing

void CBrasselVuMeter2::needleSegments(float needleValue, Segment (&out)[5]) const {
    // Nothing but a number turns the needle; anything else leaves it at rest.
    const double v = std::isfinite(needleValue) ? needleValue : 0.0;
    const double angle = 120.0 / 180.0 * kPi - (kPi * 60.0 / 180.0) * v;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double x = pivot.h;
    const double y = pivot.v;
    const double r1 = innerRadius;
    const double r2 = outerRadius;
    const CPoint p1(truncated(x + 0.5 + r1 * c), truncated(y + 0.5 - r1 * s));
    const CPoint p2(truncated(x + 0.5 + r2 * c), truncated(y + 0.5 - r2 * s));
    const CPoint p3(truncated(x + 1 + r1 * c), truncated(y + 1 - r1 * s));
    const CPoint p4(truncated(x + 1 + r2 * c), truncated(y + 1 - r2 * s));
    const CPoint p5(truncated(x + r1 * c), truncated(y + 1 - r1 * s));
    const CPoint p6(truncated(x + r2 * c), truncated(y + 1 - r2 * s));
    const CPoint p7(truncated(x + 1 + r1 * c), truncated(y - r1 * s));
    const CPoint p8(truncated(x + 1 + r2 * c), truncated(y - r2 * s));
    const CPoint p9(truncated(x + r1 * c), truncated(y - r1 * s));
    const CPoint p10(truncated(x + r2 * c), truncated(y - r2 * s));
    // Five one-pixel lines side by side make a needle about two pixels wide.
    out[0] = {p7, p8};
    out[1] = {p9, p10};
    out[2] = {p3, p4};
    out[3] = {p5, p6};
    out[4] = {p1, p2};
}

void CBrasselVuMeter2::draw(CDrawContext* context) {
    if (!context) return;
    context->setLineStyle(kLineSolid);
    context->setLineWidth(1);

    levelA = levelA < 0.0f ? 0.0f : levelA > 1.0f ? 1.0f : levelA;
    if (std::fabs(levelB) < 1e-8f)
        levelB = 1e-9f;
    else
        levelB = levelB < -1.5f ? -1.5f : levelB > 1.5f ? 1.5f : levelB;
    levelC = levelC < 1e-6f ? 1e-6f : levelC > 1.5f ? 1.5f : levelC;

    Segment needle[5];
    needleSegments(value, needle);

    // Frame coordinates are used unchanged on the surface.
    auto* offscreen = new COffscreenContext(pParentFrame, kOffscreenWidth, kOffscreenHeight,
                                            kBlackCColor);
    if (faceBitmap) faceBitmap->draw(offscreen, faceRect, CPoint(0, 0));
    offscreen->setFrameColor(kNeedleColour);
    for (const Segment& segment : needle) {
        offscreen->moveTo(segment.from);
        offscreen->lineTo(segment.to);
    }
    if (overlayBitmap) {
        const CRect overlayRect(overlayPosition.h, overlayPosition.v,
                                overlayPosition.h + overlayBitmap->getWidth(),
                                overlayPosition.v + overlayBitmap->getHeight());
        overlayBitmap->draw(offscreen, overlayRect, CPoint(0, 0));
    }
    // Only the face reaches the screen: a needle longer than the face, or an
    // overlay beside it, never shows outside it.
    offscreen->copyFrom(context, faceRect, CPoint(faceRect.left, faceRect.top));
    offscreen->forget();
}

void CBrasselVuMeter2::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if ((buttons & kLButton) && listener) listener->valueChanged(context, this);
}
