// A native pop-up menu that shows a list and waits for one choice
// (TrackPopupMenu on Windows).
#pragma once

#include <memory>

#include "types.h"

namespace platform {

class Window;

// Flags of a menu item.
constexpr unsigned kMenuChecked = 1;      // carries a check mark
constexpr unsigned kMenuGreyed = 2;       // shown greyed, cannot be chosen
constexpr unsigned kMenuDisabled = 4;     // shown as a title, cannot be chosen
constexpr unsigned kMenuColumnBreak = 8;  // starts a new column

class PopupMenu {
public:
    virtual ~PopupMenu() = default;
    // Appends an item that answers `command` (0 or more) when chosen.
    virtual void addItem(const char* text, int command, unsigned flags) = 0;
    virtual void addSeparator(unsigned flags) = 0;
    // Sizes the menu for an editor drawn at `scale` (1 until set). Menus the
    // system draws follow the system's own scale and ignore it.
    virtual void setScale(double scale) { (void)scale; }
    // Shows the menu with its top left corner at `screenWhere` (or its bottom left
    // corner when `above`), tracking the right button instead of the left when
    // `rightButton`, and waits. Answers the chosen command, or -1 for none.
    virtual int track(Window& owner, Point screenWhere, bool above, bool rightButton) = 0;
};

std::unique_ptr<PopupMenu> createPopupMenu();

}  // namespace platform
