#include "CDropTarget.h"

#include "CDragContainer.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "platform/window.h"

namespace gui {

CDropTarget::~CDropTarget() { release(); }

CPoint CDropTarget::toWindow(platform::Point screenWhere) const {
    platform::Window* window = frame.getPlatformWindow();
    const platform::Point origin = window ? window->screenOrigin() : platform::Point{};
    return frame.fromWindow(screenWhere.x - origin.x, screenWhere.y - origin.y);
}

void CDropTarget::release() {
    if (drag) drag->forget();
    drag = nullptr;
}

int CDropTarget::onDragEnter(platform::DragData& data, platform::Point screenWhere) {
    release();
    drag = new CDragContainer(&data);
    lastWhere = toWindow(screenWhere);
    CDrawContext context(&frame, nullptr, frame.getPlatformWindow());
    frame.onDragEnter(&context, drag, lastWhere);
    return platform::kDropMove;
}

int CDropTarget::onDragOver(platform::Point screenWhere) {
    lastWhere = toWindow(screenWhere);
    if (drag) {
        CDrawContext context(&frame, nullptr, frame.getPlatformWindow());
        frame.onDragMove(&context, drag, lastWhere);
    }
    return platform::kDropMove;
}

void CDropTarget::onDragLeave() {
    if (drag) {
        CDrawContext context(&frame, nullptr, frame.getPlatformWindow());
        frame.onDragLeave(&context, drag, lastWhere);
    }
    release();
}

void CDropTarget::onDrop(platform::DragData& data, platform::Point screenWhere) {
    if (!drag) drag = new CDragContainer(&data);
    lastWhere = toWindow(screenWhere);
    CDrawContext context(&frame, nullptr, frame.getPlatformWindow());
    frame.onDrop(&context, drag, lastWhere);
    release();
}

}  // namespace gui
