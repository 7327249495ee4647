// A drawing context on a memory surface of a given size: drawn in private and
// then copied to a window (or another context) in one piece.
#pragma once

#include <memory>

#include "CDrawContext.h"
#include "platform/offscreen.h"

namespace gui {

// Made before the context base so that the base can draw on the surface.
struct COffscreenSurfaceHolder {
    std::unique_ptr<platform::OffscreenSurface> surface;
};

class COffscreenContext : private COffscreenSurfaceHolder, public CDrawContext {
public:
    // A width x height surface (layout pixels, times the frame's scale in
    // device pixels) filled with `background`.
    COffscreenContext(CFrame* frame, int width, int height,
                      const CColor& background = kBlackCColor);
    ~COffscreenContext() override;

    // Copies this surface's pixels, starting at `srcOffset`, into `dest` at
    // destRect (shifted by dest's drawing offset).
    void copyFrom(CDrawContext* dest, CRect destRect, CPoint srcOffset = CPoint(0, 0));

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    platform::OffscreenSurface* getSurface() const { return surface.get(); }

private:
    int width;
    int height;
};

}  // namespace gui
