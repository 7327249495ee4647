// Things dragged over the editor's window from other programs (OLE drag and
// drop on Windows, XDND on Linux).
#pragma once

#include <memory>

#include "types.h"

namespace platform {

class Window;

// What is being dragged: a list of files, or something else (one item).
class DragData {
public:
    virtual ~DragData() = default;
    // The number of files, 0 when the data is not a file list.
    virtual int fileCount() = 0;
    // File `index` as a path, cut to size - 1 bytes; false past the end.
    virtual bool fileName(int index, char* buffer, int size) = 0;
};

// The answers a drop target gives the system.
constexpr int kDropNone = 0;
constexpr int kDropCopy = 1;
constexpr int kDropMove = 2;

// Points are in screen coordinates.
class DropHandler {
public:
    virtual int onDragEnter(DragData& data, Point screenWhere) = 0;
    virtual int onDragOver(Point screenWhere) = 0;
    virtual void onDragLeave() = 0;
    virtual void onDrop(DragData& data, Point screenWhere) = 0;

protected:
    ~DropHandler() = default;
};

// Revokes the registration when destroyed.
class DropRegistration {
public:
    virtual ~DropRegistration() = default;
};

std::unique_ptr<DropRegistration> registerDropTarget(Window& window, DropHandler& handler);

// Per-thread set-up of the drag-and-drop services (OleInitialize and
// OleUninitialize on Windows); calls nest and must balance.
void beginDragDropServices();
void endDragDropServices();

}  // namespace platform
