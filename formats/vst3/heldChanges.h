// The host's parameter changes the audio thread could not apply in their
// block, because the UI thread held the bank then: the last value of each
// parameter, handed on in the order they last arrived. Fixed size, no
// allocation; the audio thread's alone.
#pragma once

#include <cstdint>

#include "formats/vst3/abi/component.h"

namespace vst3 {

class HeldChanges {
public:
    void hold(ParamID id, ParamValue value) {
        Change* slot = nullptr;
        for (int i = 0; i < count; ++i)
            if (changes[i].id == id) slot = &changes[i];
        if (!slot) {
            // More distinct IDs than the plug-in has: the oldest gives way.
            if (count == kRoom) drop(0);
            slot = &changes[count++];
        }
        *slot = Change{id, value, ++arrivals};
    }

    bool empty() const { return count == 0; }

    // Hands every held change to apply(id, value), oldest arrival first, and forgets them.
    template <class Apply>
    void release(Apply&& apply) {
        while (count > 0) {
            int oldest = 0;
            for (int i = 1; i < count; ++i)
                if (changes[i].arrival < changes[oldest].arrival) oldest = i;
            const Change change = changes[oldest];
            drop(oldest);
            apply(change.id, change.value);
        }
    }

private:
    struct Change {
        ParamID id;
        ParamValue value;
        std::uint64_t arrival;
    };
    void drop(int at) {
        for (int i = at + 1; i < count; ++i) changes[i - 1] = changes[i];
        --count;
    }

    static constexpr int kRoom = 16;
    Change changes[kRoom];
    int count = 0;
    std::uint64_t arrivals = 0;
};

}  // namespace vst3
