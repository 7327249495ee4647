// Where the entries of a pop-up menu go: columns, entry rectangles, the place
// on the screen, and which entries can be chosen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../types.h"

namespace platform::linux_backend {

struct MenuEntry {
    std::string text;
    int command = -1;
    unsigned flags = 0;  // kMenuChecked, kMenuGreyed, kMenuDisabled, kMenuColumnBreak
    bool separator = false;
};

struct MenuGeometry {
    std::vector<Rect> entries;  // one per entry, in menu coordinates
    std::vector<int> columnLefts;
    int width = 0;
    int height = 0;
};

constexpr int kMenuBorder = 2;
constexpr int kMenuEntryHeight = 20;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuTextLeft = 24;   // room for the check mark
constexpr int kMenuTextRight = 20;
constexpr int kMenuMinimumColumn = 60;

// One of the sizes above for a menu drawn at an editor scale.
int menuPixels(int size, double scale);

// Lays the entries out top to bottom, starting a new column at every entry
// flagged kMenuColumnBreak; `textWidth` measures an entry's text (at the
// scale). Every size above is taken times `scale`.
MenuGeometry layoutMenu(const std::vector<MenuEntry>& entries,
                        const std::function<int(const MenuEntry&)>& textWidth, double scale = 1.0);

// The menu's top left corner on the screen: its top left at `where`, or its
// bottom left with `above`, flipped to the other side when it does not fit,
// then moved inside `screen`.
Point placeMenu(Point where, bool above, int width, int height, const Rect& screen);

// The entry at a point in menu coordinates, or -1.
int entryAt(const MenuGeometry& geometry, Point local);

// Separators, greyed entries and titles cannot be chosen.
bool choosable(const MenuEntry& entry);

// The next choosable entry after `from` in direction `step` (+1 or -1),
// wrapping around; -1 when there is none. From -1 it starts at either end.
int nextChoosable(const std::vector<MenuEntry>& entries, int from, int step);

}  // namespace platform::linux_backend
