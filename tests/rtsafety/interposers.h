// Counting of allocations, locks and system calls made on this thread.
#pragma once

namespace rtcount {
struct Counts {
    int allocations;
    int locks;
    int systemCalls;
};
void start();
Counts stop();
}  // namespace rtcount
