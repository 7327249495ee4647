#include "headlessDragDrop.h"

#include <algorithm>
#include <cstring>

#include "headlessWindow.h"

namespace platform {

namespace headless {

namespace {

int serviceDepth = 0;
int registrations = 0;

class HeadlessDropRegistration final : public DropRegistration {
public:
    HeadlessDropRegistration(HeadlessWindow& window, DropHandler& handler) : window(window) {
        window.setDropHandler(&handler);
        ++registrations;
    }
    ~HeadlessDropRegistration() override {
        window.setDropHandler(nullptr);
        --registrations;
    }

private:
    HeadlessWindow& window;
};

}  // namespace

bool HeadlessDragData::fileName(int index, char* buffer, int size) {
    if (index < 0 || index >= fileCount() || !buffer || size <= 0) return false;
    const std::string& name = files[static_cast<std::size_t>(index)];
    const std::size_t n = std::min(name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, name.data(), n);
    buffer[n] = 0;
    return true;
}

int dragDropServiceDepth() { return serviceDepth; }
int liveDropRegistrations() { return registrations; }

}  // namespace headless

std::unique_ptr<DropRegistration> registerDropTarget(Window& window, DropHandler& handler) {
    return std::make_unique<headless::HeadlessDropRegistration>(
        static_cast<headless::HeadlessWindow&>(window), handler);
}

void beginDragDropServices() { ++headless::serviceDepth; }
void endDragDropServices() {
    if (headless::serviceDepth > 0) --headless::serviceDepth;
}

}  // namespace platform
