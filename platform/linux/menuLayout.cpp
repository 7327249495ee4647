#include "menuLayout.h"

#include <algorithm>
#include <cmath>

#include "../popupMenu.h"

namespace platform::linux_backend {

int menuPixels(int size, double scale) {
    return static_cast<int>(std::floor(size * scale + 0.5));
}

MenuGeometry layoutMenu(const std::vector<MenuEntry>& entries,
                        const std::function<int(const MenuEntry&)>& textWidth, double scale) {
    const int border = menuPixels(kMenuBorder, scale);
    const int entryHeight = menuPixels(kMenuEntryHeight, scale);
    const int separatorHeight = menuPixels(kMenuSeparatorHeight, scale);
    const int textMargins = menuPixels(kMenuTextLeft, scale) + menuPixels(kMenuTextRight, scale);
    const int minimumColumn = menuPixels(kMenuMinimumColumn, scale);
    MenuGeometry g;
    g.entries.resize(entries.size());
    std::size_t first = 0;
    int left = border;
    int tallest = 0;
    while (first < entries.size()) {
        std::size_t last = first + 1;
        while (last < entries.size() && !(entries[last].flags & kMenuColumnBreak)) ++last;
        int columnWidth = minimumColumn;
        for (std::size_t i = first; i < last; ++i)
            if (!entries[i].separator)
                columnWidth =
                    std::max(columnWidth, textWidth(entries[i]) + textMargins);
        int y = border;
        for (std::size_t i = first; i < last; ++i) {
            const int height = entries[i].separator ? separatorHeight : entryHeight;
            g.entries[i] = Rect{left, y, left + columnWidth, y + height};
            y += height;
        }
        g.columnLefts.push_back(left);
        tallest = std::max(tallest, y - border);
        // One pixel between columns for the dividing line.
        left += columnWidth + 1;
        first = last;
    }
    if (g.columnLefts.empty()) {
        g.width = 2 * border + minimumColumn;
        g.height = 2 * border;
        return g;
    }
    g.width = left - 1 + border;
    g.height = tallest + 2 * border;
    return g;
}

Point placeMenu(Point where, bool above, int width, int height, const Rect& screen) {
    int y = above ? where.y - height : where.y;
    if (!above && y + height > screen.bottom && where.y - height >= screen.top)
        y = where.y - height;
    else if (above && y < screen.top && where.y + height <= screen.bottom)
        y = where.y;
    int x = where.x;
    x = std::min(x, screen.right - width);
    x = std::max(x, screen.left);
    y = std::min(y, screen.bottom - height);
    y = std::max(y, screen.top);
    return Point{x, y};
}

int entryAt(const MenuGeometry& geometry, Point local) {
    for (std::size_t i = 0; i < geometry.entries.size(); ++i) {
        const Rect& r = geometry.entries[i];
        if (local.x >= r.left && local.x < r.right && local.y >= r.top && local.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

bool choosable(const MenuEntry& entry) {
    return !entry.separator && !(entry.flags & (kMenuGreyed | kMenuDisabled));
}

int nextChoosable(const std::vector<MenuEntry>& entries, int from, int step) {
    const int n = static_cast<int>(entries.size());
    if (n == 0) return -1;
    int at = from < 0 ? (step > 0 ? -1 : n) : from;
    for (int tried = 0; tried < n; ++tried) {
        at = ((at + step) % n + n) % n;
        if (choosable(entries[static_cast<std::size_t>(at)])) return at;
    }
    return -1;
}

}  // namespace platform::linux_backend
