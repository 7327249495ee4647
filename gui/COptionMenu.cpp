#include "COptionMenu.h"

#include <cstdio>
#include <cstring>

#include "CBitmap.h"
#include "CDrawContext.h"
#include "CFrame.h"
#include "platform/popupMenu.h"
#include "platform/window.h"
#include "scale.h"

namespace gui {

namespace {

std::string cut(const char* text) {
    std::string s = text ? text : "";
    if (s.size() > static_cast<std::size_t>(COptionMenu::kMaxEntryLength))
        s.resize(COptionMenu::kMaxEntryLength);
    return s;
}

void copyOut(char* to, const std::string& from) {
    if (to) std::snprintf(to, COptionMenu::kMaxEntryLength + 1, "%s", from.c_str());
}

}  // namespace

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int tag,
                         CBitmap* background, CBitmap* bgWhenClick, int style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
    this->listener = listener;
    this->tag = tag;
    if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu() {
    if (bgWhenClick) bgWhenClick->forget();
}

// ---------------------------------------------------------------- entries

bool COptionMenu::addEntry(const char* text, int index) {
    const int n = getNbEntries();
    if (n >= kMaxEntries) return false;
    if (index < 0 || index >= n) {
        entries.push_back(cut(text));
        checked.push_back(false);
    } else {
        entries.insert(entries.begin() + index, cut(text));
        checked.insert(checked.begin() + index, false);
        if (currentIndex >= index) ++currentIndex;
    }
    if (n == 0) currentIndex = 0;
    return true;
}

int COptionMenu::getCurrent(char* text, bool countSeparator) const {
    if (currentIndex < 0 || currentIndex >= getNbEntries()) {
        if (text) text[0] = 0;
        return -1;
    }
    copyOut(text, entries[static_cast<std::size_t>(currentIndex)]);
    if (countSeparator) return currentIndex;
    int counted = 0;
    for (int i = 0; i < currentIndex; ++i)
        if (!isSeparator(entries[i]) && !isTitle(entries[i])) ++counted;
    return counted;
}

void COptionMenu::select(int rawIndex) {
    currentIndex = rawIndex;
    if (style & kMultipleCheckStyle) checked[rawIndex] = !checked[rawIndex];
    setDirty();
}

bool COptionMenu::setCurrent(int index, bool countSeparator) {
    const int n = getNbEntries();
    if (index < 0 || index >= n) return false;
    if (countSeparator) {
        if (isSeparator(entries[index])) return false;
        select(index);
        return true;
    }
    for (int i = 0, counted = 0; i < n; ++i) {
        if (isSeparator(entries[i]) || isTitle(entries[i])) continue;
        if (counted++ == index) {
            select(i);
            return true;
        }
    }
    return false;
}

bool COptionMenu::getEntry(int index, char* text) const {
    if (index < 0 || index >= getNbEntries()) return false;
    copyOut(text, entries[index]);
    return true;
}

bool COptionMenu::setEntry(int index, const char* text) {
    if (index < 0 || index >= getNbEntries()) return false;
    entries[index] = cut(text);
    if (index == currentIndex) setDirty();
    return true;
}

bool COptionMenu::removeEntry(int index) {
    if (index < 0 || index >= getNbEntries()) return false;
    entries.erase(entries.begin() + index);
    checked.erase(checked.begin() + index);
    if (currentIndex >= index) --currentIndex;
    // A menu that still has entries keeps one of them current.
    if (entries.empty())
        currentIndex = -1;
    else if (currentIndex < 0)
        currentIndex = 0;
    setDirty();
    return true;
}

bool COptionMenu::removeAllEntry() {
    entries.clear();
    checked.clear();
    currentIndex = -1;
    setDirty();
    return true;
}

int COptionMenu::getNbEntries() const { return static_cast<int>(entries.size()); }

int COptionMenu::getIndex(const char* text) const {
    const std::string wanted = text ? text : "";
    for (int i = 0; i < getNbEntries(); ++i)
        if (entries[i] == wanted) return i;
    return -1;
}

bool COptionMenu::checkEntry(int index, bool state) {
    if (index < 0 || index >= getNbEntries()) return false;
    checked[index] = state;
    return true;
}

bool COptionMenu::checkEntryAlone(int index) {
    if (index < 0 || index >= getNbEntries()) return false;
    checked.assign(checked.size(), false);
    checked[index] = true;
    return true;
}

bool COptionMenu::isCheckEntry(int index) const {
    return index >= 0 && index < getNbEntries() && checked[index];
}

void COptionMenu::setNbItemsPerColumn(int count) { nbItemsPerColumn = count; }
int COptionMenu::getNbItemsPerColumn() const { return nbItemsPerColumn; }
COptionMenu* COptionMenu::getLastResult() const { return lastResult; }
void COptionMenu::setPrefixNumbers(bool state) { prefixNumbers = state; }

// ------------------------------------------------------- drawing and input

void COptionMenu::draw(CDrawContext* context) {
    char text[kMaxEntryLength + 1];
    getCurrent(text, true);
    drawText(context, text);
}

void COptionMenu::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled || !pParentFrame || !context) return;
    buttons = currentButtons(context, buttons);
    lastButton = buttons;
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & (kLButton | kRButton | kApple))) return;
    if (bgWhenClick) bgWhenClick->draw(context, size, backOffset);
    beginEdit();
    takeFocus(context);
}

void COptionMenu::takeFocus(CDrawContext* context) {
    platform::Window* window = pParentFrame ? pParentFrame->getPlatformWindow() : nullptr;
    if (!window) return;

    std::unique_ptr<platform::PopupMenu> menu = platform::createPopupMenu();
    const int n = getNbEntries();
    const bool columns = nbItemsPerColumn > 0 && n < 160;
    int shown = 0;
    for (int i = 0; i < n; ++i) {
        const std::string& entry = entries[i];
        if (entry.rfind("-M", 0) == 0) continue;  // no submenus are attached
        unsigned flags = 0;
        if (columns && shown > 0 && shown % nbItemsPerColumn == 0) flags |= platform::kMenuColumnBreak;
        ++shown;
        if (isSeparator(entry)) {
            menu->addSeparator(flags);
            continue;
        }
        std::string text = entry;
        if (entry.rfind("-G", 0) == 0) {
            text = entry.substr(2);
            flags |= platform::kMenuGreyed;
        } else if (isTitle(entry)) {
            text = entry.substr(2);
            flags |= platform::kMenuDisabled;
        } else {
            if (((style & kMultipleCheckStyle) && checked[i]) ||
                ((style & kCheckStyle) && i == currentIndex))
                flags |= platform::kMenuChecked;
            if (prefixNumbers) text = std::to_string(shown) + ". " + text;
        }
        menu->addItem(text.c_str(), i, flags);
    }

    const bool above = (style & kPopupStyle) != 0;
    CPoint corner(size.left, above ? size.top : size.bottom);
    localToFrame(corner);
    const platform::Point origin = window->screenOrigin();
    const double scale = pParentFrame->getScale();
    menu->setScale(scale);
    const int chosen = menu->track(
        *window,
        platform::Point{scaled(corner.h, scale) + origin.x, scaled(corner.v, scale) + origin.y},
        above, (lastButton & kRButton) != 0);
    if (chosen >= 0 && chosen < getNbEntries()) {
        select(chosen);
        value = static_cast<float>(chosen);
        lastResult = this;
        if (listener) listener->valueChanged(context, this);
    }
    menu.reset();
    if (pParentFrame) pParentFrame->setFocusView(nullptr);
    endEdit();
}

}  // namespace gui
