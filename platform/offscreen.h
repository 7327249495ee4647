// Memory drawing surfaces (CreateCompatibleDC / CreateCompatibleBitmap on
// Windows): drawn in private, then copied to a window in one piece.
#pragma once

#include <memory>

#include "drawDevice.h"

namespace platform {

class Window;

class OffscreenSurface {
public:
    virtual ~OffscreenSurface() = default;
    virtual DrawDevice& device() = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

// A surface of the given size filled with `background`. `compatibleWith` (may be
// null) is the window whose pixel format the surface should match.
std::unique_ptr<OffscreenSurface> createOffscreenSurface(int width, int height, Colour background,
                                                         Window* compatibleWith);

}  // namespace platform
