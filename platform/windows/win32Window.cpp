#include "win32Window.h"

#include <windowsx.h>

#include "bitmapLibrary.h"
#include "gdiDevice.h"
#include "module.h"
#include "win32EditBox.h"
#include "windowClass.h"

namespace platform {

namespace windows {

namespace {
HWND pressWindow = nullptr;
constexpr UINT_PTR kTimerId = 1;
}

HWND windowHandlingPress() { return pressWindow; }

LRESULT CALLBACK frameWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
    return window->handle(message, wParam, lParam);
}

Win32Window::Win32Window(HWND parent, int width, int height, WindowEvents& events)
    : events(events) {
    acquireBitmapLibrary();
    const char* className = acquireWindowClass(frameWindowProcedure);
    classAcquired = className != nullptr;
    if (!classAcquired) return;
    hwnd = CreateWindowExA(0, className, "Window",
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, width,
                           height, parent, nullptr, moduleHandle(), nullptr);
    if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Window::~Win32Window() {
    if (hwnd) {
        // Detached first: the messages of the destruction find no frame.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (pressWindow == hwnd) pressWindow = nullptr;
        DestroyWindow(hwnd);
    }
    if (classAcquired) releaseWindowClass();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    releaseBitmapLibrary();
}

bool Win32Window::resize(int width, int height) {
    if (!hwnd || width <= 0 || height <= 0) return false;
    return SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

Point Win32Window::screenOrigin() {
    POINT origin{0, 0};
    if (hwnd) ClientToScreen(hwnd, &origin);
    return Point{origin.x, origin.y};
}

std::unique_ptr<DrawDevice> Win32Window::createDevice() {
    if (!hwnd) return nullptr;
    HDC dc = GetDC(hwnd);
    if (!dc) return nullptr;
    return std::make_unique<GdiDevice>(dc, hwnd);
}

void Win32Window::invalidate(const Rect& r) {
    if (!hwnd || r.empty()) return;
    const RECT area{r.left, r.top, r.right, r.bottom};
    InvalidateRect(hwnd, &area, FALSE);
}

bool Win32Window::dispatchOnePaint() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) return false;
    DispatchMessageA(&message);
    return true;
}

bool Win32Window::startTimer(int milliseconds, std::function<void()> tick) {
    if (!hwnd || milliseconds <= 0 || !tick) return false;
    timerTick = std::move(tick);
    return SetTimer(hwnd, kTimerId, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void Win32Window::press(Point where) {
    if (pressing) return;
    pressing = true;
    const HWND outer = pressWindow;
    pressWindow = hwnd;
    events.onButtonDown(where);
    // The frame may have closed its window meanwhile; `this` is still alive,
    // as only the frame's owner destroys it, and not from inside a press.
    pressWindow = outer;
    pressing = false;
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND self = hwnd;
    switch (message) {
        case WM_PAINT: {
            RECT damaged{0, 0, 0, 0};
            GetUpdateRect(hwnd, &damaged, FALSE);
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            if (dc) {
                GdiDevice device(dc);
                events.onPaint(device, Rect{damaged.left, damaged.top, damaged.right,
                                            damaged.bottom});
            }
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            press(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSEWHEEL:
            events.onWheel(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                           GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
            if (const Win32EditBox* box = Win32EditBox::fromHandle(reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(box->colour(reinterpret_cast<HDC>(wParam)));
            break;
        case WM_TIMER:
            if (wParam != kTimerId) break;
            // A tick while a press is tracked would nest in it.
            if (timerTick && !pressing) timerTick();
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, kTimerId);
            events.onDestroyed();
            return 0;
        case WM_NCDESTROY:
            // Destroyed by the system together with the host's window.
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            if (pressWindow == hwnd) pressWindow = nullptr;
            hwnd = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcA(self, message, wParam, lParam);
}

}  // namespace windows

std::unique_ptr<Window> createChildWindow(void* parent, int width, int height,
                                          WindowEvents& events) {
    if (width <= 0 || height <= 0) return nullptr;
    auto window = std::make_unique<windows::Win32Window>(static_cast<HWND>(parent), width, height,
                                                         events);
    if (!window->created()) return nullptr;
    return window;
}

}  // namespace platform
