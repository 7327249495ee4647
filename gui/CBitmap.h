// A shared picture loaded from the plug-in's resources by number. Whoever
// stores one takes a reference; the creator drops its own once it has handed
// the bitmap over. A number that is missing gives a 0 x 0 bitmap that draws
// nothing. Its size is in layout pixels; a context with another scale is drawn
// from the picture made for that scale, each of its rows made when a draw
// first needs it (a film strip's frames one by one) and kept for the process.
#pragma once

#include <memory>

#include "CReferenceCounter.h"
#include "colours.h"
#include "geometry.h"
#include "platform/resourceBitmap.h"
#include "platform/scaledBitmap.h"

namespace gui {

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int resourceID);
    ~CBitmap() override;

    // Copies the rectangle's size from the bitmap at `offset` into rect (shifted
    // by the context's drawing offset).
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(0, 0));
    // The same, leaving out the pixels of the transparent colour.
    virtual void drawTransparent(CDrawContext* context, const CRect& rect,
                                 const CPoint& offset = CPoint(0, 0));
    // The same, blended with a constant opacity (255 opaque).
    virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect,
                                const CPoint& offset = CPoint(0, 0), unsigned char alpha = 128);
    virtual void dispose();
    // Answers whether the picture loaded; a failed load leaves a 0 x 0 bitmap.
    virtual bool loadFromResource(int resourceID);
    // Pictures come only from the resources: releases the picture, answers false.
    virtual bool loadFromPath(const void* platformPath);

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getResourceID() const { return resourceID; }
    bool isLoaded() const { return native != nullptr; }
    void setTransparentColor(const CColor& color) { transparentColor = color; }
    CColor getTransparentColor() const { return transparentColor; }
    void setNoAlpha(bool state) { noAlpha = state; }
    bool getNoAlpha() const { return noAlpha; }
    const platform::NativeBitmap* getNativeBitmap() const { return native.get(); }
    // The picture for `scale` (the 1x one at 1) with at least its device rows
    // firstRow .. firstRow + rowCount - 1 in place, or null when there is none.
    const platform::NativeBitmap* nativeFor(double scale, int firstRow, int rowCount);

protected:
    int resourceID;
    int width = 0;
    int height = 0;
    CColor transparentColor{255, 255, 255, 0};
    bool noAlpha = true;
    std::unique_ptr<platform::NativeBitmap> native;
    std::unique_ptr<platform::ScaledBitmap> scaledNative;
    double scaledFor = 0.0;
};

}  // namespace gui
