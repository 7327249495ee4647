// The native "EDIT" box a text field opens over itself while the user types.
// Its messages pass through the box first, so that Enter and the loss of the
// keyboard focus end the editing, and it asks for every key.
#pragma once

#include <windows.h>

#include "../editBox.h"

namespace platform::windows {

class Win32EditBox final : public EditBox {
public:
    // Check created() before use.
    Win32EditBox(HWND parent, const Rect& r, const char* text, const EditBoxStyle& style,
                 EditBoxEvents& events);
    ~Win32EditBox() override;
    Win32EditBox(const Win32EditBox&) = delete;
    Win32EditBox& operator=(const Win32EditBox&) = delete;

    bool created() const { return hwnd != nullptr; }
    void getText(char* buffer, int size) override;
    HWND handle() const { return hwnd; }

    // The box behind an edit window, if it is one of ours.
    static Win32EditBox* fromHandle(HWND window);
    // The parent's answer to WM_CTLCOLOREDIT: sets the text and background
    // colours on `dc` and gives the background brush.
    HBRUSH colour(HDC dc) const;

private:
    friend LRESULT CALLBACK editBoxProcedure(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void detach();

    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    EditBoxEvents& events;
    HFONT font = nullptr;
    HBRUSH background = nullptr;
    COLORREF textColour;
    COLORREF backgroundColour;
};

}  // namespace platform::windows
