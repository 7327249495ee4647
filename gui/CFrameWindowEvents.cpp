#include "CFrameWindowEvents.h"

#include "CDrawContext.h"
#include "CFrame.h"
#include "scale.h"

namespace gui {

void CFrameWindowEvents::onPaint(platform::DrawDevice& device, const platform::Rect& damaged) {
    if (!damaged.empty()) {
        CDrawContext context(&frame, &device, frame.getPlatformWindow());
        // Every layout pixel that touches the damage is drawn again.
        const CPoint topLeft = frame.fromWindow(damaged.left, damaged.top);
        const CPoint bottomRight = frame.fromWindow(damaged.right - 1, damaged.bottom - 1);
        frame.drawRect(&context, CRect(topLeft.h, topLeft.v, bottomRight.h + 1, bottomRight.v + 1));
    }
    frame.bFirstDraw = false;
}

void CFrameWindowEvents::onButtonDown(platform::Point where) {
    CDrawContext context(&frame, nullptr, frame.getPlatformWindow());
    CPoint point = frame.fromWindow(where.x, where.y);
    frame.mouse(&context, point, -1);
}

void CFrameWindowEvents::onWheel(platform::Point screenWhere, int delta) {
    platform::Window* window = frame.getPlatformWindow();
    if (!window) return;
    CDrawContext context(&frame, nullptr, window);
    const platform::Point origin = window->screenOrigin();
    const CPoint where = frame.fromWindow(screenWhere.x - origin.x, screenWhere.y - origin.y);
    frame.onWheel(&context, where, static_cast<float>(delta / 120.0));
}

void CFrameWindowEvents::onDestroyed() {
    frame.bOpenFlag = false;
    frame.pSystemWindow = nullptr;
}

}  // namespace gui
