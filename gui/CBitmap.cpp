#include "CBitmap.h"

#include "CDrawContext.h"
#include "scale.h"

namespace gui {

namespace {

// Where a draw goes in device pixels, and where it starts in the picture made
// for the context's scale.
struct Placement {
    const platform::NativeBitmap* picture = nullptr;
    platform::Rect dest;
    platform::Point source;
};

bool place(CBitmap& bitmap, CDrawContext* context, const CRect& rect, const CPoint& offset,
           Placement& out) {
    if (!context || !context->getDevice()) return false;
    const double scale = context->getScale();
    out.dest = context->toDevice(rect);
    out.source = platform::Point{scaled(offset.h, scale), scaled(offset.v, scale)};
    if (out.dest.empty()) return false;
    out.picture = bitmap.nativeFor(scale, out.source.y, out.dest.height());
    return out.picture != nullptr;
}

}  // namespace

CBitmap::CBitmap(int resourceID) : resourceID(resourceID) { loadFromResource(resourceID); }

CBitmap::~CBitmap() { dispose(); }

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    Placement at;
    if (!place(*this, context, rect, offset, at)) return;
    context->getDevice()->drawBitmap(*at.picture, at.dest, at.source);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& rect, const CPoint& offset) {
    Placement at;
    if (!place(*this, context, rect, offset, at)) return;
    context->getDevice()->drawBitmapTransparent(*at.picture, at.dest, at.source,
                                                toPlatform(transparentColor));
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& offset,
                             unsigned char alpha) {
    Placement at;
    if (!place(*this, context, rect, offset, at)) return;
    context->getDevice()->drawBitmapAlpha(*at.picture, at.dest, at.source, alpha);
}

const platform::NativeBitmap* CBitmap::nativeFor(double scale, int firstRow, int rowCount) {
    if (!native || scale == 1.0) return native.get();
    if (scaledFor != scale) {
        scaledNative = platform::loadResourceBitmap(resourceID, scale);
        scaledFor = scale;
    }
    return scaledNative ? scaledNative->rows(firstRow, rowCount) : nullptr;
}

void CBitmap::dispose() {
    scaledNative.reset();
    scaledFor = 0.0;
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
