#include "realInput.h"

#include <cstring>

namespace realInput {

namespace {

void sendMouse(DWORD flags, DWORD data = 0) {
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof in);
}

void sendKey(WORD virtualKey, WORD scan, DWORD flags) {
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = virtualKey;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void sendMove(POINT p) {
    // Absolute positions are in 1/65536 of the screen; rounding up lands on
    // the wanted pixel.
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in;
    std::memset(&in, 0, sizeof in);
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<long long>(p.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(p.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

bool pointerAt(POINT p) {
    POINT now;
    return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
}

}  // namespace

void moveTo(POINT p) {
    // Under Wine the pointer of a move can read back as the old place for a
    // while (the X server's pointer follows later); wait until it has stayed
    // put for 100 ms, moving it again if it does not arrive.
    sendMove(p);
    int steady = 0;
    for (int waited = 0; waited < 1500 && steady < 10; waited += 10) {
        Sleep(10);
        steady = pointerAt(p) ? steady + 1 : 0;
        if (waited % 300 == 290 && steady == 0) sendMove(p);
    }
}

void leftDown() { sendMouse(MOUSEEVENTF_LEFTDOWN); }
void leftUp() { sendMouse(MOUSEEVENTF_LEFTUP); }
void rightDown() { sendMouse(MOUSEEVENTF_RIGHTDOWN); }
void rightUp() { sendMouse(MOUSEEVENTF_RIGHTUP); }

// Under Wine a button pressed within some 50 ms of a move can be missing from
// the asynchronous state when its message arrives; a hand is never that quick.
constexpr int kSettleAfterMove = 80;

void click(POINT p, int holdMs) {
    moveTo(p);
    Sleep(kSettleAfterMove);
    leftDown();
    Sleep(holdMs);
    leftUp();
    Sleep(50);
}

void rightClick(POINT p, int holdMs) {
    moveTo(p);
    Sleep(kSettleAfterMove);
    rightDown();
    Sleep(holdMs);
    rightUp();
    Sleep(50);
}

void drag(POINT from, POINT to, int steps, int stepMs) {
    moveTo(from);
    Sleep(kSettleAfterMove);
    leftDown();
    Sleep(100);
    for (int i = 1; i <= steps; ++i) {
        moveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Sleep(stepMs);
    }
    Sleep(kSettleAfterMove);
    leftUp();
    Sleep(50);
}

void wheel(int delta) {
    sendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
    Sleep(50);
}

void keyDown(WORD virtualKey) { sendKey(virtualKey, 0, 0); }
void keyUp(WORD virtualKey) { sendKey(virtualKey, 0, KEYEVENTF_KEYUP); }

void pressKey(WORD virtualKey) {
    keyDown(virtualKey);
    Sleep(20);
    keyUp(virtualKey);
    Sleep(20);
}

void type(const char* text) {
    for (const char* c = text; *c; ++c) {
        sendKey(0, static_cast<WORD>(static_cast<unsigned char>(*c)), KEYEVENTF_UNICODE);
        sendKey(0, static_cast<WORD>(static_cast<unsigned char>(*c)),
                KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
        Sleep(15);
    }
}

POINT at(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

HWND waitFor(const std::function<HWND()>& found, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND w = found()) return w;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return nullptr;
        Sleep(20);
    }
}

HWND findTopLevel(const char* className, const char* title) {
    struct Search {
        const char* className;
        const char* title;
        HWND found;
    } search{className, title, nullptr};
    EnumWindows(
        [](HWND w, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!IsWindowVisible(w)) return TRUE;
            char text[256];
            if (s->className) {
                GetClassNameA(w, text, sizeof text);
                if (std::strcmp(text, s->className) != 0) return TRUE;
            }
            if (s->title) {
                GetWindowTextA(w, text, sizeof text);
                if (std::strcmp(text, s->title) != 0) return TRUE;
            }
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findChild(HWND parent, const char* className) {
    return parent ? FindWindowExA(parent, nullptr, className, nullptr) : nullptr;
}

}  // namespace realInput
