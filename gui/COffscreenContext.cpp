#include "COffscreenContext.h"

#include "CFrame.h"

namespace gui {

namespace {

platform::Window* windowOf(CFrame* frame) { return frame ? frame->getPlatformWindow() : nullptr; }

std::unique_ptr<platform::OffscreenSurface> makeSurface(CFrame* frame, int width, int height,
                                                        const CColor& background) {
    return platform::createOffscreenSurface(width, height, toPlatform(background), windowOf(frame));
}

}  // namespace

COffscreenContext::COffscreenContext(CFrame* frame, int width, int height,
                                     const CColor& background)
    : COffscreenSurfaceHolder{makeSurface(frame, width, height, background)},
      CDrawContext(frame, surface ? &surface->device() : nullptr, windowOf(frame)),
      width(width),
      height(height) {
    clipRect = CRect(0, 0, width, height);
}

COffscreenContext::~COffscreenContext() = default;

void COffscreenContext::copyFrom(CDrawContext* dest, CRect destRect, CPoint srcOffset) {
    if (!dest || !dest->getDevice() || !device) return;
    destRect.offset(dest->offset.h, dest->offset.v);
    dest->getDevice()->copyFrom(
        *device, platform::Rect{destRect.left, destRect.top, destRect.right, destRect.bottom},
        platform::Point{srcOffset.h, srcOffset.v});
}

}  // namespace gui
