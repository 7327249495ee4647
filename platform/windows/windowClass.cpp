#include "windowClass.h"

#include <cstdio>

#include "module.h"
#include "win32Input.h"

namespace platform::windows {

namespace {

// Windows of a class are made on the GUI thread only.
int users = 0;
char name[32] = {0};

}  // namespace

const char* windowClassName() {
    if (!name[0])
        // Unique per loaded library: two copies of the plug-in loaded from
        // different files each have a class of their own.
        std::snprintf(name, sizeof name, "Plugin%p", static_cast<void*>(moduleHandle()));
    return name;
}

int windowClassUsers() { return users; }

const char* acquireWindowClass(WNDPROC procedure) {
    if (users == 0) {
        WNDCLASSA wc;
        wc.style = CS_GLOBALCLASS;
        wc.lpfnWndProc = procedure;
        wc.cbClsExtra = 0;
        wc.cbWndExtra = 0;
        wc.hInstance = moduleHandle();
        wc.hIcon = nullptr;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = windowClassName();
        if (!RegisterClassA(&wc)) return nullptr;
        latchSwappedButtons(GetSystemMetrics(SM_SWAPBUTTON) != 0);
    }
    ++users;
    return windowClassName();
}

void releaseWindowClass() {
    if (users == 0 || --users > 0) return;
    UnregisterClassA(windowClassName(), moduleHandle());
}

}  // namespace platform::windows
