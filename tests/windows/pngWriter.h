// Pictures of windows for the Windows tests: the pixels of a window as the
// screen shows them, and a small PNG writer (uncompressed deflate blocks).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace screenshot {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, rows from the top

    std::uint32_t at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0;
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

// The client area of `window` (or the part w x h at x, y of the screen when
// window is null), copied from its device context.
Image capture(HWND window, int x = 0, int y = 0, int w = 0, int h = 0);

// The picture of a BITMAP resource of `module`, read back through GDI; empty
// when the module has no such resource.
Image resourcePixels(HMODULE module, int id);
// The picture drawn at 2x, a packed KVBZ resource of `module`; empty when it has none.
Image packedResourcePixels(HMODULE module, int id);

// Writes `image` as a 24-bit PNG; false if the file cannot be written.
bool savePng(const Image& image, const std::string& path);

}  // namespace screenshot
