// Pictures made row by row as they are asked for: which rows of a range are
// still to be made, in runs, so that each run is made in one go.
#pragma once

#include <algorithm>
#include <vector>

namespace resources {

// Calls make(first, count) for each run of rows in first .. first + count - 1
// (clamped to `done`) not done yet, and marks them done.
template <typename Make>
void makeMissingRows(std::vector<bool>& done, int first, int count, Make&& make)
{
    const int size = static_cast<int>(done.size());
    const int end = std::clamp(first + std::max(count, 0), 0, size);
    for (int y = std::clamp(first, 0, size); y < end;) {
        if (done[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        int runEnd = y;
        while (runEnd < end && !done[static_cast<std::size_t>(runEnd)])
            done[static_cast<std::size_t>(runEnd++)] = true;
        make(y, runEnd - y);
        y = runEnd;
    }
}

} // namespace resources
