// The frame's answers to its window's events: paints, presses and the wheel,
// each through a draw context made for that one event.
#pragma once

#include "platform/window.h"

namespace gui {

class CFrame;

class CFrameWindowEvents final : public platform::WindowEvents {
public:
    explicit CFrameWindowEvents(CFrame& frame) : frame(frame) {}

    void onPaint(platform::DrawDevice& device, const platform::Rect& damaged) override;
    void onButtonDown(platform::Point where) override;
    void onWheel(platform::Point screenWhere, int delta) override;
    void onDestroyed() override;

private:
    CFrame& frame;
};

}  // namespace gui
