// One CLAP plug-in instance: the compressor, the host's extensions, the port
// the editor's edits leave through, and the state of the CLAP life cycle.
// The tables in clapExtensions.h reach it through the plug-in record's
// plugin_data.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "clapPort.h"
#include "core/Compressor.h"
#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapEvents.h"
#include "formats/clap/abi/clapExtensions.h"

class ClapEditor;

// Debug builds (and any build given KVBR_THREAD_CHECKS) ask the host's
// thread-check at every entry point.
#if !defined(NDEBUG) || defined(KVBR_THREAD_CHECKS)
#define KVBR_CLAP_THREAD_CHECKS 1
#else
#define KVBR_CLAP_THREAD_CHECKS 0
#endif

// The stereo and the mono plug-in differ only in these.
struct ClapVariant {
    const clapabi::PluginDescriptor* descriptor;
    std::uint32_t channels;  // on every port: main in, side-chain in, main out
};

// The side-chain's channels for one block, in one sample width: null where
// the host connected none (the right one for the left one).
template <typename Sample>
struct ClapKey {
    const Sample* left = nullptr;
    const Sample* right = nullptr;
};

// The thread an entry point belongs to: flush is the audio thread's while
// the instance is active and the main thread's otherwise.
enum class ClapThread { main, audio, mainOrAudio, anyThread };

class ClapInstance {
public:
    ClapInstance(const ClapVariant& variant, const clapabi::Host* host);
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    // The instance behind a record the host hands back, or null for a record
    // that is not one of ours.
    static ClapInstance* of(const clapabi::Plugin* plugin);
    // The same, for the entry point `entry` that belongs to `thread`.
    static ClapInstance* enter(const clapabi::Plugin* plugin, ClapThread thread,
                               const char* entry) {
        ClapInstance* self = of(plugin);
        if (self) self->checkThread(thread, entry);
        return self;
    }

    // Main thread: fetches the host's extensions.
    bool init();
    // Main thread, inactive: the engine designed for the rate.
    bool activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames);
    void deactivate();
    // Audio thread, active.
    bool startProcessing();
    void stopProcessing();
    void reset();
    clapabi::ProcessStatus process(const clapabi::Process& process);
    // Audio thread while active, else main thread: parameter events without audio.
    void flush(const clapabi::InputEvents* in, const clapabi::OutputEvents* out);
    // Audio thread: the gain change of the latest block in dB (0 or negative).
    double gainAdjustment() const;
    // Main thread: selects a program of the instance's bank for the host's
    // preset browser, and tells the host once.
    bool loadProgram(int slot);
    // Main thread: the state block in and out (clapState.cpp).
    bool saveState(const clapabi::OutputStream* stream);
    bool loadState(const clapabi::InputStream* stream);

    const clapabi::Plugin* record() const { return &plugin; }
    const clapabi::Host* host() const { return hostRecord; }
    const ClapHostExtensions& hostExtensions() const { return extensions; }
    const ClapVariant& layout() const { return variant; }
    Compressor& core() { return compressor; }
    ClapPort& hostPort() { return port; }
    ClapEditor& editorRef() { return *editor; }
    bool isActive() const { return active; }
    // Main thread: reports a refusal to the host's log, if it has one.
    void log(std::int32_t severity, const char* message) const;

private:
#if KVBR_CLAP_THREAD_CHECKS
    // Asks the host's thread-check, if it offers one; a call on another
    // thread goes to the host's log, and stops the process when
    // KVBR_THREAD_CHECK is "abort".
    void checkThread(ClapThread thread, const char* entry) const;
#else
    void checkThread(ClapThread, const char*) const {}
#endif
    // Takes one host event; events that are not ours to take change nothing.
    void applyEvent(const clapabi::EventHeader& event);
    template <typename Sample>
    void render(Sample* const* in, Sample* const* out, const ClapKey<Sample>& key, std::uint32_t from,
                std::uint32_t to);

    clapabi::Plugin plugin{};
    ClapVariant variant;
    const clapabi::Host* hostRecord;
    ClapHostExtensions extensions;
    Compressor compressor;
    ClapPort port{compressor.parameters(), hostRecord, extensions};
    std::unique_ptr<ClapEditor> editor;
    bool initialised = false;
    // Read by process, which a misbehaving host may call at any time.
    std::atomic<bool> active{false};
    std::atomic<bool> processing{false};
};
