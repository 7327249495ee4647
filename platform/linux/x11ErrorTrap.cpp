#include "x11ErrorTrap.h"

#include <algorithm>
#include <vector>

namespace platform::linux_backend {

namespace {

// Only the GUI thread makes these calls; the lists are small.
std::vector<XErrorTrap*>& traps() {
    static std::vector<XErrorTrap*> all;
    return all;
}

std::vector<Display*>& connections() {
    static std::vector<Display*> all;
    return all;
}

XErrorHandler previousHandler = nullptr;
long caught = 0;

}  // namespace

int trapHandler(Display* display, XErrorEvent* error) {
    bool ours = false;
    for (XErrorTrap* trap : traps()) {
        if (trap->display != display) continue;
        ++trap->count;
        trap->code = error->error_code;
        trap->resource = error->resourceid;
        ours = true;
    }
    if (!ours) {
        const auto& mine = connections();
        ours = std::find(mine.begin(), mine.end(), display) != mine.end();
    }
    if (ours) {
        ++caught;
        return 0;
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

XErrorTrap::XErrorTrap(Display* display) : display(display) {
    if (traps().empty()) previousHandler = XSetErrorHandler(trapHandler);
    traps().push_back(this);
}

XErrorTrap::~XErrorTrap() {
    if (display) XSync(display, False);
    auto& all = traps();
    all.erase(std::find(all.begin(), all.end(), this));
    if (all.empty()) {
        XSetErrorHandler(previousHandler);
        previousHandler = nullptr;
    }
}

bool XErrorTrap::sync() {
    if (display) XSync(display, False);
    return count == 0;
}

void registerConnection(Display* display) { connections().push_back(display); }

void unregisterConnection(Display* display) {
    auto& all = connections();
    all.erase(std::remove(all.begin(), all.end(), display), all.end());
}

long trappedErrors() { return caught; }
int liveTraps() { return static_cast<int>(traps().size()); }

}  // namespace platform::linux_backend
