// The frame's drop target: turns the system's drag events into the frame's
// drag routing, with one drag container per drag.
#pragma once

#include "geometry.h"
#include "platform/dragDrop.h"

namespace gui {

class CDragContainer;
class CFrame;

class CDropTarget final : public platform::DropHandler {
public:
    explicit CDropTarget(CFrame& frame) : frame(frame) {}
    ~CDropTarget();
    CDropTarget(const CDropTarget&) = delete;
    CDropTarget& operator=(const CDropTarget&) = delete;

    // Each answers the move effect.
    int onDragEnter(platform::DragData& data, platform::Point screenWhere) override;
    int onDragOver(platform::Point screenWhere) override;
    void onDragLeave() override;
    void onDrop(platform::DragData& data, platform::Point screenWhere) override;

    CDragContainer* currentDrag() const { return drag; }

private:
    CPoint toWindow(platform::Point screenWhere) const;
    void release();

    CFrame& frame;
    CDragContainer* drag = nullptr;
    CPoint lastWhere;
};

}  // namespace gui
