// A CLAP host for tests, written from the interface's facts like the
// plug-in: it loads a .clap, keeps the thread rules itself (main-thread calls
// on the test's thread, process and the other audio-thread calls on a thread
// of its own), answers thread-check truthfully (unless told to lie), and records every call the
// plug-in makes into it, with any call made from a thread the rules forbid.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "formats/clap/abi/clapCore.h"
#include "formats/clap/abi/clapEvents.h"
#include "formats/clap/abi/clapExtensions.h"
#include "formats/clap/abi/clapPresetDiscovery.h"

namespace platform {
class SharedLibrary;
}

// The library: loaded, its entry's init called, deinit and unload on destruction.
class ClapLibrary {
public:
    explicit ClapLibrary(const std::string& path = KVBR_CLAP_PATH);
    ~ClapLibrary();
    bool valid() const { return entry != nullptr && initialised; }
    const clapabi::PluginFactory* pluginFactory() const;
    const clapabi::PresetDiscoveryFactory* presetFactory() const;

    const clapabi::PluginEntry* entry = nullptr;
    std::string error;

private:
    std::unique_ptr<platform::SharedLibrary> library;
    bool initialised = false;
};

// The audio thread: runs what it is given, one job at a time, while the
// caller waits.
class AudioThread {
public:
    AudioThread();
    ~AudioThread();
    void run(const std::function<void()>& job);
    // The same in two halves, for a main thread that works meanwhile; the
    // job must outlive finish().
    void begin(const std::function<void()>& job);
    void finish();
    bool isCurrent() const { return std::this_thread::get_id() == id; }

private:
    std::mutex mutex;
    std::condition_variable wake, done;
    const std::function<void()>* pending = nullptr;
    bool stopping = false;
    std::thread::id id;
    std::thread worker;
};

// Which of its extensions the host offers.
enum HostOffer : unsigned {
    kOfferParams = 1,
    kOfferState = 2,
    kOfferThreadCheck = 4,
    kOfferLog = 8,
    kOfferTimer = 16,
    kOfferFd = 32,
    kOfferPresetLoad = 64,
    kOfferGui = 128,
    kOfferAll = 255,
};

class TestClapHost {
public:
    explicit TestClapHost(unsigned offers = kOfferAll);
    ~TestClapHost();
    TestClapHost(const TestClapHost&) = delete;
    TestClapHost& operator=(const TestClapHost&) = delete;

    const clapabi::Host* record() const { return &host; }
    // Main thread: asks the factory for `id`, then init; null on refusal.
    const clapabi::Plugin* create(const ClapLibrary& library, const char* id);
    const clapabi::Plugin* plugin = nullptr;
    // Main thread: destroys the plug-in (deactivating it first, as a host must).
    void destroy();

    // Life cycle in the threads the rules name.
    bool activate(double rate, std::uint32_t minFrames = 1, std::uint32_t maxFrames = 8192);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    template <typename Extension>
    const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin->getExtension(plugin, id));
    }

    // What the plug-in did to the host, in order: "rescan 1", "mark_dirty",
    // "request_flush", "loaded 1 5", "error 1 99", "register_timer 33",
    // "register_fd", "log 5 ..."...
    std::vector<std::string> calls() const;
    int count(const std::string& call) const;
    void clearCalls();
    // Calls made on a thread the rules forbid, or before init, or from create_plugin.
    std::vector<std::string> violations() const;

    // Main thread, as a host's loop does: every timer the plug-in registered
    // fires once; a new request_flush is answered with a flush (on the audio
    // thread while active), what the plug-in sent added to `sent`.
    void fireTimers();
    void serveFlush(bool active, std::vector<std::string>& sent);

    // Timers and descriptors the plug-in registered (main thread).
    std::map<clapabi::Id, std::uint32_t> timers;
    std::map<int, std::uint32_t> descriptors;
    bool refuseTimers = false;
    // The thread-check answers "not the main thread" everywhere.
    std::atomic<bool> denyMainThread{false};

    AudioThread audio;

private:
    void note(const std::string& call);
    void mainOnly(const char* what);
    void notAudio(const char* what);
    static TestClapHost& of(const clapabi::Host* host);
    static const void* getExtension(const clapabi::Host* host, const char* id);

    clapabi::Host host{};
    unsigned offers;
    std::thread::id mainThread;
    bool pluginInitialised = false;
    bool creating = false;
    clapabi::Id nextTimer = 1;
    int flushesServed = 0;
    mutable std::mutex recording;
    std::vector<std::string> log;
    std::vector<std::string> broken;

    friend struct HostTables;
};

// ---------------------------------------------------------- event lists

class InputEventList {
public:
    InputEventList();
    void add(std::uint32_t time, clapabi::Id id, double value);
    // Any event, as a host might send it (other spaces, types, sizes).
    void addRaw(const clapabi::EventHeader& header);
    void clear() { events.clear(); }
    const clapabi::InputEvents* list() const { return &table; }

private:
    static std::uint32_t size(const clapabi::InputEvents* list);
    static const clapabi::EventHeader* get(const clapabi::InputEvents* list, std::uint32_t index);
    std::vector<clapabi::EventParamValue> events;
    clapabi::InputEvents table{};
};

class OutputEventList {
public:
    OutputEventList();
    const clapabi::OutputEvents* list() const { return &table; }
    // "begin 5", "value 5 6.25", "end 5", in the order pushed.
    std::vector<std::string> seen;
    // Pushes refused once this many were taken (-1: never).
    int capacity = -1;

private:
    static bool tryPush(const clapabi::OutputEvents* list, const clapabi::EventHeader* event);
    clapabi::OutputEvents table{};
};
