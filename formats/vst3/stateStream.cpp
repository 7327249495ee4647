#include "stateStream.h"

#include <array>
#include <cstring>
#include <iterator>
#include <vector>

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

bool save(IBStream* stream, ProgramBank& bank, const Parameters& settings, bool bypass) {
    if (!stream) return false;
    std::vector<unsigned char> bytes = pluginState::save(bank, &settings);
    bytes.insert(bytes.end(), std::begin(kBypassTag), std::end(kBypassTag));
    bytes.insert(bytes.end(), {static_cast<unsigned char>(bypass ? 1 : 0), 0, 0, 0});
    int32 written = 0;
    return stream->write(bytes.data(), static_cast<int32>(bytes.size()), &written) == kResultOk &&
           written == static_cast<int32>(bytes.size());
}

bool split(std::span<const unsigned char> bytes, std::span<const unsigned char>& block,
           bool& bypass) {
    bypass = false;
    const std::size_t length = pluginState::blockLength(bytes);
    if (length == 0 || bytes.size() <= length) {
        // No trailer: a block written without one, or a damaged one the
        // restore refuses.
        block = bytes;
        return true;
    }
    if (bytes.size() != length + kTrailerSize) return false;
    const unsigned char* trailer = bytes.data() + length;
    if (std::memcmp(trailer, kBypassTag, sizeof kBypassTag) != 0 || trailer[4] > 1 ||
        trailer[5] || trailer[6] || trailer[7])
        return false;
    block = bytes.first(length);
    bypass = trailer[4] == 1;
    return true;
}

bool load(IBStream* stream, ProgramBank& bank, Parameters& settings, bool& bypass) {
    if (!stream) return false;
    std::array<unsigned char, kLargestSize> bytes{};
    const std::size_t size = readUpTo(stream, bytes.data(), bytes.size());
    std::span<const unsigned char> block;
    bool wanted = false;
    if (!split(std::span(bytes.data(), size), block, wanted)) return false;
    if (pluginState::restore(bank, &settings, block) != pluginState::Restore::ok) return false;
    bypass = wanted;
    return true;
}

bool saveEditor(IBStream* stream, bool stripOpen) {
    if (!stream) return false;
    unsigned char bytes[5] = {kEditorTag[0], kEditorTag[1], kEditorTag[2], kEditorTag[3],
                              static_cast<unsigned char>(stripOpen ? 1 : 0)};
    int32 written = 0;
    return stream->write(bytes, static_cast<int32>(sizeof bytes), &written) == kResultOk &&
           written == static_cast<int32>(sizeof bytes);
}

bool loadEditor(IBStream* stream) {
    unsigned char bytes[5] = {};
    if (!stream || readUpTo(stream, bytes, sizeof bytes) != sizeof bytes) return false;
    return std::memcmp(bytes, kEditorTag, sizeof kEditorTag) == 0 && bytes[4] == 1;
}

}  // namespace vst3::state
