#include "CBitmap.h"

#include "CDrawContext.h"

namespace gui {

namespace {

bool destination(CDrawContext* context, const CRect& rect, platform::Rect& out) {
    if (!context || !context->getDevice()) return false;
    out = platform::Rect{rect.left + context->offset.h, rect.top + context->offset.v,
                         rect.right + context->offset.h, rect.bottom + context->offset.v};
    return !out.empty();
}

}  // namespace

CBitmap::CBitmap(int resourceID) : resourceID(resourceID) { loadFromResource(resourceID); }

CBitmap::~CBitmap() { dispose(); }

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    platform::Rect dest;
    if (!native || !destination(context, rect, dest)) return;
    context->getDevice()->drawBitmap(*native, dest, platform::Point{offset.h, offset.v});
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    platform::Rect dest;
    if (!native || !destination(context, rect, dest)) return;
    context->getDevice()->drawBitmapTransparent(*native, dest, platform::Point{offset.h, offset.v},
                                                toPlatform(transparentColor));
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             unsigned char alpha) {
    platform::Rect dest;
    if (!native || !destination(context, rect, dest)) return;
    context->getDevice()->drawBitmapAlpha(*native, dest, platform::Point{offset.h, offset.v},
                                          alpha);
}

void CBitmap::dispose() {
    native.reset();
    width = 0;
    height = 0;
}

bool CBitmap::loadFromResource(int id) {
    dispose();
    resourceID = id;
    native = platform::loadResourceBitmap(id);
    if (!native) return false;
    width = native->width();
    height = native->height();
    return true;
}

bool CBitmap::loadFromPath(const void*) {
    dispose();
    return false;
}

}  // namespace gui
