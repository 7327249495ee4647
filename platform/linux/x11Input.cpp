#include "x11Input.h"

#include <X11/Xatom.h>

#include <cstdio>
#include <cstdlib>

#include "../input.h"
#include "x11Connection.h"
#include "x11ErrorTrap.h"
#include "x11Window.h"
#include "xsettings.h"

namespace platform {

namespace linux_backend {

namespace {

constexpr int kDefaultDoubleClickTime = 400;
int doubleClick = 0;  // 0 until learnt

std::optional<int> fromSettingsManager(X11Connection& connection) {
    Display* display = connection.display();
    char selection[32];
    std::snprintf(selection, sizeof selection, "_XSETTINGS_S%d", connection.screen());
    const ::Window owner = XGetSelectionOwner(display, connection.atom(selection));
    if (owner == None) return std::nullopt;
    const Atom settings = connection.atom("_XSETTINGS_SETTINGS");
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::optional<int> found;
    if (XGetWindowProperty(display, owner, settings, 0, 65536, False, settings, &type, &format,
                           &items, &remaining, &data) == Success &&
        data && format == 8)
        found = findXSettingsInteger(data, items, "Net/DoubleClickTime");
    if (data) XFree(data);
    return found;
}

std::optional<int> fromResources(X11Connection& connection) {
    const char* text = XGetDefault(connection.display(), "korvane", "multiClickTime");
    if (!text) return std::nullopt;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text) return std::nullopt;
    return static_cast<int>(value);
}

bool plausible(const std::optional<int>& ms) { return ms && *ms >= 50 && *ms <= 5000; }

class X11InputState final : public InputState {
public:
    int buttonState() override {
        X11Window* window = activeWindow();
        return window ? window->buttonState() : 0;
    }
    Point cursorPosition() override {
        X11Window* window = activeWindow();
        return window ? window->pointerPosition() : Point{};
    }
    int doubleClickTime() override { return doubleClick > 0 ? doubleClick : kDefaultDoubleClickTime; }
};

}  // namespace

void learnDoubleClickTime(X11Connection& connection) {
    if (doubleClick > 0) return;
    XErrorTrap trap(connection.display());
    std::optional<int> ms = fromSettingsManager(connection);
    if (!plausible(ms) || trap.errors()) ms = fromResources(connection);
    doubleClick = plausible(ms) ? *ms : kDefaultDoubleClickTime;
}

void forgetDoubleClickTime() { doubleClick = 0; }

}  // namespace linux_backend

InputState& input() {
    static linux_backend::X11InputState state;
    return state;
}

}  // namespace platform
