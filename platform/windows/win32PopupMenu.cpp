// The option menu's pop-up: a native menu tracked with TrackPopupMenu.
#include <windows.h>

#include "../popupMenu.h"
#include "../window.h"

namespace platform {

namespace {

// Menu commands start at 1: TrackPopupMenu answers 0 for "nothing chosen".
constexpr int kFirstCommand = 1;

UINT itemFlags(unsigned flags) {
    UINT result = 0;
    if (flags & kMenuChecked) result |= MF_CHECKED;
    if (flags & kMenuGreyed) result |= MF_GRAYED;
    if (flags & kMenuDisabled) result |= MF_DISABLED;
    if (flags & kMenuColumnBreak) result |= MF_MENUBREAK;
    return result;
}

class Win32PopupMenu final : public PopupMenu {
public:
    Win32PopupMenu() : menu(CreatePopupMenu()) {}
    ~Win32PopupMenu() override {
        if (menu) DestroyMenu(menu);
    }
    Win32PopupMenu(const Win32PopupMenu&) = delete;
    Win32PopupMenu& operator=(const Win32PopupMenu&) = delete;

    void addItem(const char* text, int command, unsigned flags) override {
        if (!menu || command < 0) return;
        AppendMenuA(menu, MF_STRING | itemFlags(flags),
                    static_cast<UINT_PTR>(command) + kFirstCommand, text ? text : "");
    }

    void addSeparator(unsigned flags) override {
        if (menu) AppendMenuA(menu, MF_SEPARATOR | itemFlags(flags & kMenuColumnBreak), 0, nullptr);
    }

    int track(Window& owner, Point screenWhere, bool above, bool rightButton) override {
        if (!menu) return -1;
        const UINT flags = TPM_LEFTALIGN | (above ? TPM_BOTTOMALIGN : TPM_TOPALIGN) |
                           (rightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON) | TPM_RETURNCMD |
                           TPM_NONOTIFY;
        HWND window = static_cast<HWND>(owner.nativeHandle());
        const int chosen = static_cast<int>(
            TrackPopupMenu(menu, flags, screenWhere.x, screenWhere.y, 0, window, nullptr));
        return chosen >= kFirstCommand ? chosen - kFirstCommand : -1;
    }

private:
    HMENU menu;
};

}  // namespace

std::unique_ptr<PopupMenu> createPopupMenu() { return std::make_unique<Win32PopupMenu>(); }

}  // namespace platform
