// The desktop's scale on Windows: the DPI of the monitor the host's window is
// on where the system can tell it (Windows 10 1607 on), else the screen's.
#include <windows.h>

#include "../displayScale.h"

namespace platform {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

}  // namespace

double desktopScale(void* parent) {
    HWND window = static_cast<HWND>(parent);
    // Looked up at run time: older systems lack it, and the DLL must load there.
    if (HMODULE user = GetModuleHandleA("user32.dll"); user && window && IsWindow(window)) {
        const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
        if (getDpiForWindow)
            if (const UINT dpi = getDpiForWindow(window); dpi > 0) return dpi / 96.0;
    }
    HDC screen = GetDC(nullptr);
    if (!screen) return 0.0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi / 96.0 : 0.0;
}

}  // namespace platform
