// Millisecond time and short waits (GetTickCount / Sleep on Windows).
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed moment; wraps around after 2^32 ms, so callers
    // compare two readings by their difference, never by their order.
    virtual std::uint32_t tickCount() = 0;
    // Blocks the calling thread for about `milliseconds`.
    virtual void sleep(int milliseconds) = 0;
};

// The clock of the backend this program was linked with.
Clock& clock();

}  // namespace platform
