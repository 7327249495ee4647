#include "headlessPopupMenu.h"

#include <deque>

namespace platform {

namespace headless {

namespace {

std::deque<int>& choices() {
    static std::deque<int> queue;
    return queue;
}

MenuRecord shown;
int shownCount = 0;

class HeadlessPopupMenu final : public PopupMenu {
public:
    void addItem(const char* text, int command, unsigned flags) override {
        items.push_back(MenuItemRecord{text ? text : "", command, flags, false});
    }
    void addSeparator(unsigned flags) override {
        items.push_back(MenuItemRecord{"", -1, flags, true});
    }
    int track(Window&, Point screenWhere, bool above, bool rightButton) override {
        int answer = -1;
        if (!choices().empty()) {
            const int wanted = choices().front();
            choices().pop_front();
            for (const MenuItemRecord& item : items)
                if (!item.separator && item.command == wanted &&
                    !(item.flags & (kMenuGreyed | kMenuDisabled)))
                    answer = wanted;
        }
        shown = MenuRecord{items, screenWhere, above, rightButton, answer};
        ++shownCount;
        return answer;
    }

private:
    std::vector<MenuItemRecord> items;
};

}  // namespace

int MenuRecord::columns() const {
    int n = 1;
    for (const MenuItemRecord& item : items)
        if (item.flags & kMenuColumnBreak) ++n;
    return n;
}

void scriptMenuChoice(int command) { choices().push_back(command); }
const MenuRecord& lastMenu() { return shown; }
int menusShown() { return shownCount; }

void resetMenus() {
    choices().clear();
    shown = MenuRecord{};
    shownCount = 0;
}

}  // namespace headless

std::unique_ptr<PopupMenu> createPopupMenu() {
    return std::make_unique<headless::HeadlessPopupMenu>();
}

}  // namespace platform
