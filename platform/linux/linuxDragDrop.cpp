// Drag and drop on Linux: the editor accepts nothing, so its window does not
// announce itself as a drop target (no XdndAware); a program that sends it
// drag messages anyway is told "not accepted" by the window's event handling.
#include "../dragDrop.h"

namespace platform {

namespace {

class NoDropRegistration final : public DropRegistration {};

}  // namespace

std::unique_ptr<DropRegistration> registerDropTarget(Window&, DropHandler&) {
    return std::make_unique<NoDropRegistration>();
}

// There is no per-thread drag-and-drop service to start on X11.
void beginDragDropServices() {}
void endDragDropServices() {}

}  // namespace platform
