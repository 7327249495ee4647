// Two renders compared bit for bit, channel by channel (a signed zero or a NaN
// pattern that differs counts as a difference).
#pragma once

#include <cstring>
#include <vector>

template <typename Sample>
bool sameSamples(const std::vector<std::vector<Sample>>& a, const std::vector<std::vector<Sample>>& b) {
    if (a.size() != b.size()) return false;
    for (size_t c = 0; c < a.size(); ++c)
        if (a[c].size() != b[c].size() ||
            std::memcmp(a[c].data(), b[c].data(), a[c].size() * sizeof(Sample)) != 0)
            return false;
    return true;
}
