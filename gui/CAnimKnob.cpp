#include "CAnimKnob.h"

#include "CBitmap.h"

namespace gui {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int tag, int subPixmaps,
                     int heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset),
      subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage) {
    inset = 0;
}

CAnimKnob::~CAnimKnob() = default;

bool CAnimKnob::isDirty() const {
    if (!bDirty) {
        CPoint point;
        valueToPoint(point);
        if (point == lastDrawnPoint) return false;
    }
    return CKnob::isDirty();
}

void CAnimKnob::draw(CDrawContext* context) {
    int index = 0;
    if (value > 0.0f) {
        const float scaled = static_cast<float>(subPixmaps - 1) * value;
        index = static_cast<int>(static_cast<double>(scaled) + 0.5);
    }
    if (index > subPixmaps - 1) index = subPixmaps - 1;
    if (index < 0) index = 0;
    if (bInverseBitmap) index = subPixmaps - 1 - index;
    if (pBackground) {
        const CPoint from(offset.h, offset.v + index * heightOfOneImage);
        if (bTransparencyEnabled)
            pBackground->drawTransparent(context, size, from);
        else
            pBackground->draw(context, size, from);
    }
    setDirty(false);
}

}  // namespace gui
