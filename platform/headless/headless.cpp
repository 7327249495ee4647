#include "headless.h"

namespace platform::headless {

void resetHeadless(unsigned startTime) {
    fakeClock().reset(startTime);
    scriptedInput().reset();
    clearRegisteredBitmaps();
    resetEditBoxes();
    resetMenus();
    resetWindowCounters();
}

}  // namespace platform::headless
