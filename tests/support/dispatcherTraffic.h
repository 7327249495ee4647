// The dispatcher fuzzer's random host calls, one generator for the fuzz test
// and the golden runs that replay its traffic: any opcode from -10 to 200,
// indices, values and floats mostly small, a pointer to a zeroed buffer half
// the time, and for the two speaker-arrangement opcodes a second zeroed
// buffer (or null) in the value.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "formats/vst2/aeffect.h"

namespace testsupport {

struct DispatcherCall {
    vst2::int32 opcode;
    vst2::int32 index;
    vst2::intptr value;
    void* ptr;
    float opt;
};

// Both buffers are zeroed for each call.
inline DispatcherCall nextDispatcherCall(std::mt19937_64& rng, std::vector<unsigned char>& buffer,
                                         std::vector<unsigned char>& buffer2) {
    DispatcherCall c;
    c.opcode = static_cast<vst2::int32>(rng() % 211) - 10;
    c.index = static_cast<vst2::int32>(rng());
    if (rng() % 4 == 0) c.index = static_cast<vst2::int32>(rng() % 40) - 5;
    c.value = static_cast<vst2::intptr>(rng());
    if (rng() % 4 == 0) c.value = static_cast<vst2::intptr>(rng() % 40) - 5;
    const auto bits = static_cast<std::uint32_t>(rng());
    std::memcpy(&c.opt, &bits, 4);
    if (rng() % 4 == 0) c.opt = static_cast<float>(rng() % 200000);
    std::fill(buffer.begin(), buffer.end(), 0);
    std::fill(buffer2.begin(), buffer2.end(), 0);
    c.ptr = rng() % 2 ? buffer.data() : nullptr;
    // These two carry a pointer in value as well; a host cannot pass a random
    // address there, so it is null or the second buffer.
    if (c.opcode == vst2::effSetSpeakerArrangement || c.opcode == vst2::effGetSpeakerArrangement)
        c.value = rng() % 2 ? reinterpret_cast<vst2::intptr>(buffer2.data()) : 0;
    return c;
}

}  // namespace testsupport
