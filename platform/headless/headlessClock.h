// A millisecond clock that only moves when told to or when someone sleeps, so
// timing rules can be tested exactly and instantly.
#pragma once

#include <cstdint>

#include "../clock.h"

namespace platform::headless {

class FakeClock final : public Clock {
public:
    std::uint32_t tickCount() override { return now; }
    // Advances the time by the requested amount instead of waiting.
    void sleep(int milliseconds) override;

    void set(std::uint32_t milliseconds) { now = milliseconds; }
    void advance(std::uint32_t milliseconds) { now += milliseconds; }
    int sleepCalls() const { return sleeps; }
    long long sleptMilliseconds() const { return slept; }
    void reset(std::uint32_t start);

private:
    std::uint32_t now = 1000;
    int sleeps = 0;
    long long slept = 0;
};

// The clock the headless backend hands out as clock().
FakeClock& fakeClock();

}  // namespace platform::headless
