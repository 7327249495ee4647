// What is being dragged over the editor, as views see it: a count of items
// and, for a file list, the file names.
#pragma once

#include <string>

#include "CReferenceCounter.h"

namespace platform {
class DragData;
}

namespace gui {

class CDragContainer : public CReferenceCounter {
public:
    enum Type { kFile = 0, kText, kUnknown = -1 };

    // `data` must outlive the container (the drop target releases the container
    // before the system releases the data).
    explicit CDragContainer(platform::DragData* data);
    ~CDragContainer() override;

    // The first and the following items: a file name for a file list, else null.
    void* first(int& size, int& type);
    void* next(int& size, int& type);
    int getType(int index) const;
    int getCount() const { return nbItems; }

private:
    platform::DragData* platformDrag;
    int nbItems;
    int iterator = 0;
    bool isFileList;
    std::string lastItem;
};

}  // namespace gui
