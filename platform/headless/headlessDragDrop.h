// Drag and drop without a system: the registration hangs the handler on the
// headless window, where a test finds it and plays a drag through it.
#pragma once

#include <string>
#include <vector>

#include "../dragDrop.h"

namespace platform::headless {

// Dragged data: a file list, or (with no files) one item of another kind.
class HeadlessDragData final : public DragData {
public:
    explicit HeadlessDragData(std::vector<std::string> files = {}) : files(std::move(files)) {}
    int fileCount() override { return static_cast<int>(files.size()); }
    bool fileName(int index, char* buffer, int size) override;

private:
    std::vector<std::string> files;
};

// How deep the per-thread drag-and-drop set-up is nested now.
int dragDropServiceDepth();
int liveDropRegistrations();

}  // namespace platform::headless
