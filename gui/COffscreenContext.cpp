#include "COffscreenContext.h"

#include "CFrame.h"
#include "scale.h"

namespace gui {

namespace {

platform::Window* windowOf(CFrame* frame) { return frame ? frame->getPlatformWindow() : nullptr; }

std::unique_ptr<platform::OffscreenSurface> makeSurface(CFrame* frame, int width, int height,
                                                        const CColor& background) {
    const double scale = frame ? frame->getScale() : 1.0;
    return platform::createOffscreenSurface(scaled(width, scale), scaled(height, scale),
                                            toPlatform(background), windowOf(frame));
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
    dest->getDevice()->copyFrom(
        *device, dest->toDevice(destRect),
        platform::Point{scaled(srcOffset.h, scale), scaled(srcOffset.v, scale)});
}

}  // namespace gui
