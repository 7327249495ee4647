// The clock on Linux: a monotonic millisecond count, so that changes of the
// wall clock never stall the idle timing or a double click.
#include <time.h>

#include <cerrno>

#include "../clock.h"

namespace platform {

namespace {

class MonotonicClock final : public Clock {
public:
    std::uint32_t tickCount() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
        return static_cast<std::uint32_t>(ms);
    }
    void sleep(int milliseconds) override {
        if (milliseconds <= 0) return;
        timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
        while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
        }
    }
};

}  // namespace

Clock& clock() {
    static MonotonicClock instance;
    return instance;
}

}  // namespace platform
