#include "win32EditBox.h"

#include <cstring>

#include "gdiDevice.h"
#include "gdiFont.h"
#include "../window.h"
#include "module.h"

namespace platform {

namespace windows {

namespace {
// The property that marks an edit window as one of ours.
const char* const kBoxProperty = "KorvaneBrasselEditBox";
}  // namespace

LRESULT CALLBACK editBoxProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Win32EditBox* box = Win32EditBox::fromHandle(hwnd))
        return box->handle(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

Win32EditBox::Win32EditBox(HWND parent, const Rect& r, const char* text,
                           const EditBoxStyle& style, EditBoxEvents& events)
    : events(events),
      textColour(toColorRef(style.textColour)),
      backgroundColour(toColorRef(style.backgroundColour)) {
    DWORD alignment = ES_LEFT;
    if (style.align == TextAlign::centre) alignment = ES_CENTER;
    if (style.align == TextAlign::right) alignment = ES_RIGHT;
    hwnd = CreateWindowExA(0, "EDIT", text ? text : "",
                           WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | alignment, r.left, r.top,
                           r.width(), r.height(), parent, nullptr, moduleHandle(), nullptr);
    if (!hwnd) return;
    SetPropA(hwnd, kBoxProperty, this);
    original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editBoxProcedure)));
    background = CreateSolidBrush(backgroundColour);
    font = createFont(FontKey::of(style.font));
    if (font) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(style.maxLength), 0);
    SendMessageA(hwnd, EM_SETSEL, 0, -1);
    SetFocus(hwnd);
}

Win32EditBox::~Win32EditBox() {
    if (hwnd) {
        // Nothing the window does while it goes (it loses the focus) reaches
        // the field any more.
        detach();
        DestroyWindow(hwnd);
    }
    if (font) DeleteObject(font);
    if (background) DeleteObject(background);
}

void Win32EditBox::detach() {
    if (original) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropA(hwnd, kBoxProperty);
}

Win32EditBox* Win32EditBox::fromHandle(HWND window) {
    return window ? static_cast<Win32EditBox*>(GetPropA(window, kBoxProperty)) : nullptr;
}

void Win32EditBox::getText(char* buffer, int size) {
    if (!buffer || size <= 0) return;
    buffer[0] = 0;
    if (hwnd) GetWindowTextA(hwnd, buffer, size);
    buffer[size - 1] = 0;
}

HBRUSH Win32EditBox::colour(HDC dc) const {
    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    return background ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

LRESULT Win32EditBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | CallWindowProcA(original, hwnd, message, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                // The field ends the editing and destroys this box.
                events.onEditReturn();
                return 0;
            }
            break;
        case WM_CHAR:
            // The Enter character would only make the box beep.
            if (wParam == '\r' || wParam == '\n') return 0;
            break;
        case WM_KILLFOCUS: {
            const LRESULT result = CallWindowProcA(original, hwnd, message, wParam, lParam);
            events.onEditFocusLost();  // destroys this box
            return result;
        }
        default:
            break;
    }
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

}  // namespace windows

std::unique_ptr<EditBox> createEditBox(Window& window, const Rect& r, const char* text,
                                       const EditBoxStyle& style, EditBoxEvents& events) {
    auto box = std::make_unique<windows::Win32EditBox>(static_cast<HWND>(window.nativeHandle()), r,
                                                       text, style, events);
    if (!box->created()) return nullptr;
    return box;
}

}  // namespace platform
