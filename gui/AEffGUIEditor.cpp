#include "AEffGUIEditor.h"

#include "CDrawContext.h"
#include "CFrame.h"
#include "platform/clock.h"
#include "platform/dragDrop.h"
#include "platform/input.h"
#include "platform/window.h"

namespace gui {

// Circular until a host asks otherwise.
int AEffGUIEditor::knobMode = 0;

AEffGUIEditor::AEffGUIEditor() : lLastTicks(platform::clock().tickCount()) {
    platform::beginDragDropServices();
}

AEffGUIEditor::~AEffGUIEditor() {
    if (frame) {
        CFrame* leaving = frame;
        frame = nullptr;
        leaving->forget();
    }
    platform::endDragDropServices();
}

bool AEffGUIEditor::getRect(ERect** r) {
    if (r) *r = &rect;
    return true;
}

bool AEffGUIEditor::open(void* ptr) {
    systemWindow = ptr;
    return false;
}

void AEffGUIEditor::close() { systemWindow = nullptr; }

void AEffGUIEditor::idle() {
    if (!inIdleStuff && frame) frame->idle();
}

bool AEffGUIEditor::onKeyDown(KeyCode& keyCode) {
    return frame && frame->onKeyDown(keyCode) == 1;
}

bool AEffGUIEditor::onKeyUp(KeyCode& keyCode) {
    return frame && frame->onKeyUp(keyCode) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (!frame) return false;
    CDrawContext context(frame, nullptr, frame->getPlatformWindow());
    CPoint where;
    frame->getCurrentLocation(where);
    return frame->onWheel(&context, where, distance);
}

bool AEffGUIEditor::setKnobMode(int mode) {
    knobMode = mode;
    return true;
}

void AEffGUIEditor::beginEdit(int) {}
void AEffGUIEditor::endEdit(int) {}

void AEffGUIEditor::doIdleStuff() {
    // Tick counts wrap (after 49.7 days), so readings are compared by difference.
    std::uint32_t t = platform::clock().tickCount();
    if (static_cast<std::int32_t>(t - lLastTicks) < 0) {
        platform::clock().sleep(4);
        t += 4;
        if (static_cast<std::int32_t>(t - lLastTicks) < -50) return;
    }
    idle();
    if (frame && frame->getPlatformWindow()) frame->getPlatformWindow()->dispatchOnePaint();
    lLastTicks = t + 100;
    inIdleStuff = true;
    hostIdle();
    inIdleStuff = false;
}

}  // namespace gui
