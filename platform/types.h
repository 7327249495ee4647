// Plain geometry and colour records shared by every platform interface, so
// that no backend needs the toolkit's own types.
#pragma once

#include <cstdint>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
};

// Left and top inside, right and bottom outside: a 10 x 10 area at the origin is
// (0, 0, 10, 10).
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
};

}  // namespace platform
