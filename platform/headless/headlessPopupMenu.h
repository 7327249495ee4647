// Scripted pop-up menus: each shown menu takes the next scripted choice (a
// command, or none); with no choice queued the user closes the menu without
// choosing. A choice of an item that cannot be chosen also answers none, as a
// real menu would never return it.
#pragma once

#include <string>
#include <vector>

#include "../popupMenu.h"

namespace platform::headless {

void scriptMenuChoice(int command);

struct MenuItemRecord {
    std::string text;
    int command = -1;
    unsigned flags = 0;
    bool separator = false;
};

struct MenuRecord {
    std::vector<MenuItemRecord> items;
    Point where;
    bool above = false;
    bool rightButton = false;
    int answer = -1;
    // 1 plus the number of items that start a new column.
    int columns() const;
};

const MenuRecord& lastMenu();
int menusShown();
void resetMenus();

}  // namespace platform::headless
