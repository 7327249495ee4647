#include "headless.h"

namespace platform::headless {

void resetHeadless(unsigned startTime) {
    fakeClock().reset(startTime);
    scriptedInput().reset();
    clearRegisteredBitmaps();
    resetEditBoxes();
    resetMenus();
    resetWindowCounters();
    setDesktopScale(0.0);
}

}  // namespace platform::headless
