#include "stateStream.h"

#include <array>
#include <cstring>

#include "core/programs/ProgramBank.h"

namespace vst3::state {

namespace {

// Reads until `wanted` bytes are in or the stream has no more; the count read.
std::size_t readUpTo(IBStream* stream, unsigned char* into, std::size_t wanted) {
    std::size_t got = 0;
    while (got < wanted) {
        int32 read = 0;
        const tresult result = stream->read(into + got, static_cast<int32>(wanted - got), &read);
        // A stream may say kResultOk with fewer bytes, or none, at its end.
        if (result != kResultOk || read <= 0 || static_cast<std::size_t>(read) > wanted - got) break;
        got += static_cast<std::size_t>(read);
    }
    return got;
}

}  // namespace

bool save(IBStream* stream, ProgramBank& bank, bool bypass) {
    if (!stream) return false;
    std::array<unsigned char, kLargestSize> bytes{};
    const pluginState::Block block = pluginState::save(bank);
    std::memcpy(bytes.data(), block.data(), block.size());
    std::memcpy(bytes.data() + block.size(), kBypassTag, sizeof kBypassTag);
    bytes[block.size() + 4] = bypass ? 1 : 0;
    int32 written = 0;
    return stream->write(bytes.data(), static_cast<int32>(bytes.size()), &written) == kResultOk &&
           written == static_cast<int32>(bytes.size());
}

bool split(std::span<const unsigned char> bytes, std::span<const unsigned char>& block,
           bool& bypass) {
    bypass = false;
    if (bytes.size() <= pluginState::kSize) {
        // No trailer: a block written without one, or a damaged one the
        // restore refuses.
        block = bytes;
        return true;
    }
    if (bytes.size() != kLargestSize) return false;
    const unsigned char* trailer = bytes.data() + pluginState::kSize;
    if (std::memcmp(trailer, kBypassTag, sizeof kBypassTag) != 0 || trailer[4] > 1 ||
        trailer[5] || trailer[6] || trailer[7])
        return false;
    block = bytes.first(pluginState::kSize);
    bypass = trailer[4] == 1;
    return true;
}

bool load(IBStream* stream, ProgramBank& bank, bool& bypass) {
    if (!stream) return false;
    std::array<unsigned char, kLargestSize> bytes{};
    const std::size_t size = readUpTo(stream, bytes.data(), bytes.size());
    std::span<const unsigned char> block;
    bool wanted = false;
    if (!split(std::span(bytes.data(), size), block, wanted)) return false;
    if (pluginState::restore(bank, block) != pluginState::Restore::ok) return false;
    bypass = wanted;
    return true;
}

}  // namespace vst3::state
