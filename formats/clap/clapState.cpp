// The state extension: the plug-in's state block (core/pluginState.h),
// the same bytes the VST 3 build saves, through the host's streams, which
// may move fewer bytes than asked at a time.
#include <array>
#include <vector>
#include <span>

#include "clapExtensionTables.h"
#include "clapInstance.h"
#include "core/pluginState.h"

namespace {

const char* reasonOf(pluginState::Restore result) {
    switch (result) {
        case pluginState::Restore::ok: return "ok";
        case pluginState::Restore::wrongSize: return "state: not a whole state block; ignored";
        case pluginState::Restore::notOurs: return "state: not this plug-in's state; ignored";
        case pluginState::Restore::futureVersion: return "state: from a newer version; ignored";
        case pluginState::Restore::damagedBank: return "state: damaged bank; ignored";
        case pluginState::Restore::badSelection: return "state: no such program; ignored";
    }
    return "state: ignored";
}

}  // namespace

bool ClapInstance::saveState(const clapabi::OutputStream* stream) {
    if (!stream || !stream->write) return false;
    const std::vector<unsigned char> block = pluginState::save(compressor.bank(), &compressor.parameters());
    std::size_t done = 0;
    while (done < block.size()) {
        const std::int64_t written = stream->write(stream, block.data() + done, block.size() - done);
        // Nothing written is as much an error as -1: the loop would never end.
        if (written <= 0 || static_cast<std::uint64_t>(written) > block.size() - done) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool ClapInstance::loadState(const clapabi::InputStream* stream) {
    if (!stream || !stream->read) return false;
    // One byte more than the longest block: a longer stream is no block of ours.
    std::array<unsigned char, pluginState::kLargestSize + 1> bytes;
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::int64_t read = stream->read(stream, bytes.data() + got, bytes.size() - got);
        if (read == 0) break;
        if (read < 0 || static_cast<std::uint64_t>(read) > bytes.size() - got) {
            log(clapabi::kLogHostMisbehaving, "state: the stream failed; nothing changed");
            return false;
        }
        got += static_cast<std::size_t>(read);
    }
    // The restore selects the saved program and tells the host nothing: the
    // host that loads a state re-reads the values itself, and a rescan here
    // makes some hosts (Qtractor 0.9.31) count a project just opened as edited.
    const pluginState::Restore result =
        pluginState::restore(compressor.bank(), &compressor.parameters(),
                             std::span<const unsigned char>(bytes.data(), got));
    if (result != pluginState::Restore::ok) {
        log(clapabi::kLogWarning, reasonOf(result));
        return false;
    }
    return true;
}

namespace {

// Main thread, even while processing: the audio thread never touches the bank.
bool save(const clapabi::Plugin* plugin, const clapabi::OutputStream* stream) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "state.save");
    return self && self->saveState(stream);
}

bool load(const clapabi::Plugin* plugin, const clapabi::InputStream* stream) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "state.load");
    return self && self->loadState(stream);
}

}  // namespace

namespace clapTables {

const clapabi::PluginState kState = {save, load};

}  // namespace clapTables
