// Feeds arbitrary bytes to the CLAP state's load, as a host's saved project
// reaches it through a stream that may hand over a few bytes at a time or
// fail, and stops on anything a state must never do: a refused load that
// changed the state, or an accepted one that does not load again as saved.
//
// Input: byte 0 the stream's bytes per read (0: all it has), byte 1 the mode
// (bit 0: patch a real saved state with the (offset, offset, value) triples
// that follow instead of taking the bytes as they are; bit 1: the stream
// fails after 10 x byte 2 bytes), then the state or the patches.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/clap/clapExtensionTables.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

struct Stream {
    std::vector<unsigned char> bytes;
    std::size_t position = 0, chunk = 0;
    long failAfter = -1;
    clapabi::InputStream in{this, read};
    clapabi::OutputStream out{this, write};
    static std::int64_t read(const clapabi::InputStream* s, void* to, std::uint64_t size) {
        auto* self = static_cast<Stream*>(s->ctx);
        if (self->failAfter >= 0 && self->position >= static_cast<std::size_t>(self->failAfter)) return -1;
        std::size_t n = self->bytes.size() - self->position;
        if (size < n) n = static_cast<std::size_t>(size);
        if (self->chunk && self->chunk < n) n = self->chunk;
        if (n == 0) return 0;
        std::memcpy(to, self->bytes.data() + self->position, n);
        self->position += n;
        return static_cast<std::int64_t>(n);
    }
    static std::int64_t write(const clapabi::OutputStream* s, const void* from, std::uint64_t size) {
        auto* self = static_cast<Stream*>(s->ctx);
        const auto* bytes = static_cast<const unsigned char*>(from);
        self->bytes.insert(self->bytes.end(), bytes, bytes + size);
        return static_cast<std::int64_t>(size);
    }
};

const void* noExtension(const clapabi::Host*, const char*) { return nullptr; }
void nothing(const clapabi::Host*) {}
const clapabi::Host kHost = {clapabi::kVersion, nullptr, "fuzz", "", "", "1", noExtension,
                             nothing, nothing, nothing};

std::vector<unsigned char> saved(const clapabi::Plugin* plugin, const clapabi::PluginState& state) {
    Stream stream;
    require(state.save(plugin, &stream.out));
    return stream.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const clapabi::Plugin* plugin = [] {
        const clapabi::PluginFactory& factory = clapTables::kPluginFactory;
        const clapabi::Plugin* made = factory.createPlugin(&factory, &kHost, "com.korvane.brassel");
        require(made && made->init(made));
        return made;
    }();
    static const clapabi::PluginState& state =
        *static_cast<const clapabi::PluginState*>(plugin->getExtension(plugin, clapabi::kExtState));
    static const std::vector<unsigned char> factoryState = saved(plugin, state);
    if (size < 2) return 0;

    Stream stream;
    stream.chunk = data[0];
    const bool patch = data[1] & 1;
    if ((data[1] & 2) && size > 2) stream.failAfter = 10L * data[2];
    if (patch) {
        stream.bytes = factoryState;
        for (std::size_t i = 2; i + 2 < size; i += 3)
            stream.bytes[(data[i] | std::size_t(data[i + 1]) << 8) % stream.bytes.size()] = data[i + 2];
    } else {
        stream.bytes.assign(data + 2, data + size);
    }

    const std::vector<unsigned char> before = saved(plugin, state);
    if (!state.load(plugin, &stream.in)) {
        require(saved(plugin, state) == before);
        return 0;
    }
    // Accepted: what it saves now loads again and saves the same.
    const std::vector<unsigned char> after = saved(plugin, state);
    require(after.size() == factoryState.size());
    Stream again;
    again.bytes = after;
    require(state.load(plugin, &again.in));
    require(saved(plugin, state) == after);
    return 0;
}
