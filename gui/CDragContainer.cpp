#include "CDragContainer.h"

#include "platform/dragDrop.h"

namespace gui {

CDragContainer::CDragContainer(platform::DragData* data) : platformDrag(data) {
    const int files = data ? data->fileCount() : 0;
    isFileList = files > 0;
    nbItems = isFileList ? files : 1;
}

CDragContainer::~CDragContainer() = default;

void* CDragContainer::first(int& size, int& type) {
    iterator = 0;
    return next(size, type);
}

void* CDragContainer::next(int& size, int& type) {
    size = 0;
    type = kUnknown;
    if (!isFileList || !platformDrag || iterator >= nbItems) return nullptr;
    char name[4096];
    if (!platformDrag->fileName(iterator++, name, sizeof name)) return nullptr;
    lastItem = name;
    size = static_cast<int>(lastItem.size());
    type = kFile;
    return lastItem.data();
}

int CDragContainer::getType(int index) const {
    if (index < 0 || index >= nbItems) return kUnknown;
    return isFileList ? kFile : kUnknown;
}

}  // namespace gui
