#include "headlessClock.h"

namespace platform {

namespace headless {

void FakeClock::sleep(int milliseconds) {
    ++sleeps;
    if (milliseconds <= 0) return;
    slept += milliseconds;
    now += static_cast<std::uint32_t>(milliseconds);
}

void FakeClock::reset(std::uint32_t start) {
    now = start;
    sleeps = 0;
    slept = 0;
}

FakeClock& fakeClock() {
    static FakeClock instance;
    return instance;
}

}  // namespace headless

Clock& clock() { return headless::fakeClock(); }

}  // namespace platform
