#include "clapTestHost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/sharedLibrary.h"

// ------------------------------------------------------------- library

ClapLibrary::ClapLibrary(const std::string& path) {
    library = platform::SharedLibrary::open(path, &error);
    if (!library) return;
    entry = static_cast<const clapabi::PluginEntry*>(library->symbol("clap_entry"));
    if (!entry) {
        error = "no clap_entry in " + path;
        return;
    }
    initialised = entry->init && entry->init(path.c_str());
}

ClapLibrary::~ClapLibrary() {
    if (initialised) entry->deinit();
}

const clapabi::PluginFactory* ClapLibrary::pluginFactory() const {
    return valid() ? static_cast<const clapabi::PluginFactory*>(entry->getFactory(clapabi::kPluginFactoryId))
                   : nullptr;
}

const clapabi::PresetDiscoveryFactory* ClapLibrary::presetFactory() const {
    return valid() ? static_cast<const clapabi::PresetDiscoveryFactory*>(
                         entry->getFactory(clapabi::kPresetDiscoveryFactoryId))
                   : nullptr;
}

// -------------------------------------------------------- audio thread

AudioThread::AudioThread() {
    std::unique_lock<std::mutex> lock(mutex);
    worker = std::thread([this] {
        std::unique_lock<std::mutex> hold(mutex);
        id = std::this_thread::get_id();
        done.notify_all();
        for (;;) {
            wake.wait(hold, [this] { return pending || stopping; });
            if (stopping) return;
            (*pending)();
            pending = nullptr;
            done.notify_all();
        }
    });
    done.wait(lock, [this] { return id != std::thread::id(); });
}

AudioThread::~AudioThread() {
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

void AudioThread::run(const std::function<void()>& job) {
    begin(job);
    finish();
}

void AudioThread::begin(const std::function<void()>& job) {
    const std::lock_guard<std::mutex> lock(mutex);
    pending = &job;
    wake.notify_all();
}

void AudioThread::finish() {
    std::unique_lock<std::mutex> lock(mutex);
    done.wait(lock, [this] { return pending == nullptr; });
}

// ----------------------------------------------------------------- host

struct HostTables {
    static TestClapHost& host(const clapabi::Host* h) { return TestClapHost::of(h); }

    static void rescan(const clapabi::Host* h, std::uint32_t flags) {
        host(h).mainOnly("params.rescan");
        host(h).note("rescan " + std::to_string(flags));
    }
    static void clear(const clapabi::Host* h, clapabi::Id id, std::uint32_t flags) {
        host(h).mainOnly("params.clear");
        host(h).note("clear " + std::to_string(id) + " " + std::to_string(flags));
    }
    static void requestFlush(const clapabi::Host* h) {
        host(h).notAudio("params.request_flush");
        host(h).note("request_flush");
    }
    static void markDirty(const clapabi::Host* h) {
        host(h).mainOnly("state.mark_dirty");
        host(h).note("mark_dirty");
    }
    static bool isMainThread(const clapabi::Host* h) {
        return !host(h).denyMainThread && std::this_thread::get_id() == host(h).mainThread;
    }
    static bool isAudioThread(const clapabi::Host* h) { return host(h).audio.isCurrent(); }
    static void log(const clapabi::Host* h, std::int32_t severity, const char* message) {
        // Thread-safe, but no real-time call.
        host(h).notAudio("log");
        host(h).note("log " + std::to_string(severity) + " " + (message ? message : "(null)"));
    }
    static bool registerTimer(const clapabi::Host* h, std::uint32_t period, clapabi::Id* id) {
        TestClapHost& self = host(h);
        self.mainOnly("register_timer");
        self.note("register_timer " + std::to_string(period));
        if (self.refuseTimers || !id) return false;
        *id = self.nextTimer++;
        self.timers[*id] = period;
        return true;
    }
    static bool unregisterTimer(const clapabi::Host* h, clapabi::Id id) {
        TestClapHost& self = host(h);
        self.mainOnly("unregister_timer");
        self.note("unregister_timer");
        return self.timers.erase(id) == 1;
    }
    static bool registerFd(const clapabi::Host* h, int fd, std::uint32_t flags) {
        TestClapHost& self = host(h);
        self.mainOnly("register_fd");
        self.note("register_fd " + std::to_string(flags));
        if (self.descriptors.count(fd)) return false;
        self.descriptors[fd] = flags;
        return true;
    }
    static bool modifyFd(const clapabi::Host* h, int fd, std::uint32_t flags) {
        TestClapHost& self = host(h);
        self.mainOnly("modify_fd");
        if (!self.descriptors.count(fd)) return false;
        self.descriptors[fd] = flags;
        return true;
    }
    static bool unregisterFd(const clapabi::Host* h, int fd) {
        TestClapHost& self = host(h);
        self.mainOnly("unregister_fd");
        self.note("unregister_fd");
        return self.descriptors.erase(fd) == 1;
    }
    static void presetError(const clapabi::Host* h, std::uint32_t kind, const char*, const char* key,
                            std::int32_t, const char*) {
        host(h).mainOnly("preset_load.on_error");
        host(h).note("error " + std::to_string(kind) + " " + (key ? key : "(null)"));
    }
    static void presetLoaded(const clapabi::Host* h, std::uint32_t kind, const char*, const char* key) {
        host(h).mainOnly("preset_load.loaded");
        host(h).note("loaded " + std::to_string(kind) + " " + (key ? key : "(null)"));
    }
    static void resizeHintsChanged(const clapabi::Host* h) {
        host(h).mainOnly("gui.resize_hints_changed");
        host(h).note("resize_hints_changed");
    }
    static bool requestResize(const clapabi::Host* h, std::uint32_t width, std::uint32_t height) {
        host(h).mainOnly("gui.request_resize");
        host(h).note("request_resize " + std::to_string(width) + " " + std::to_string(height));
        return true;
    }
    static bool requestShowOrHide(const clapabi::Host* h) {
        host(h).note("request_show_or_hide");
        return true;
    }
    static void closed(const clapabi::Host* h, bool) { host(h).note("gui_closed"); }
    static void request(const clapabi::Host* h, const char* what) {
        if (host(h).creating) host(h).broken.push_back(std::string(what) + " inside create_plugin");
        host(h).note(what);
    }

    static constexpr clapabi::HostParams kParams = {rescan, clear, requestFlush};
    static constexpr clapabi::HostState kState = {markDirty};
    static constexpr clapabi::HostThreadCheck kThreadCheck = {isMainThread, isAudioThread};
    static constexpr clapabi::HostLog kLog = {log};
    static constexpr clapabi::HostTimerSupport kTimer = {registerTimer, unregisterTimer};
    static constexpr clapabi::HostPosixFdSupport kFd = {registerFd, modifyFd, unregisterFd};
    static constexpr clapabi::HostPresetLoad kPresetLoad = {presetError, presetLoaded};
    static constexpr clapabi::HostGui kGui = {resizeHintsChanged, requestResize, requestShowOrHide,
                                              requestShowOrHide, closed};
};

TestClapHost::TestClapHost(unsigned offers) : offers(offers), mainThread(std::this_thread::get_id()) {
    host.clapVersion = clapabi::kVersion;
    host.hostData = this;
    host.name = "Korvane CLAP test host";
    host.vendor = "Korvane";
    host.url = "";
    host.version = "1";
    host.getExtension = getExtension;
    host.requestRestart = [](const clapabi::Host* h) { HostTables::request(h, "request_restart"); };
    host.requestProcess = [](const clapabi::Host* h) { HostTables::request(h, "request_process"); };
    host.requestCallback = [](const clapabi::Host* h) { HostTables::request(h, "request_callback"); };
}

TestClapHost::~TestClapHost() { destroy(); }

TestClapHost& TestClapHost::of(const clapabi::Host* h) { return *static_cast<TestClapHost*>(h->hostData); }

const void* TestClapHost::getExtension(const clapabi::Host* h, const char* id) {
    TestClapHost& self = of(h);
    if (self.creating) self.broken.push_back(std::string("get_extension inside create_plugin"));
    else if (!self.pluginInitialised) self.broken.push_back(std::string("get_extension before init"));
    if (!id) return nullptr;
    const std::string name = id;
    const unsigned o = self.offers;
    if (name == clapabi::kExtParams && (o & kOfferParams)) return &HostTables::kParams;
    if (name == clapabi::kExtState && (o & kOfferState)) return &HostTables::kState;
    if (name == clapabi::kExtThreadCheck && (o & kOfferThreadCheck)) return &HostTables::kThreadCheck;
    if (name == clapabi::kExtLog && (o & kOfferLog)) return &HostTables::kLog;
    if (name == clapabi::kExtTimerSupport && (o & kOfferTimer)) return &HostTables::kTimer;
#if !defined(_WIN32)
    if (name == clapabi::kExtPosixFdSupport && (o & kOfferFd)) return &HostTables::kFd;
#endif
    if (name == clapabi::kExtPresetLoad && (o & kOfferPresetLoad)) return &HostTables::kPresetLoad;
    if (name == clapabi::kExtGui && (o & kOfferGui)) return &HostTables::kGui;
    return nullptr;
}

const clapabi::Plugin* TestClapHost::create(const ClapLibrary& library, const char* id) {
    destroy();
    const clapabi::PluginFactory* factory = library.pluginFactory();
    if (!factory) return nullptr;
    creating = true;
    const clapabi::Plugin* made = factory->createPlugin(factory, &host, id);
    creating = false;
    if (!made) return nullptr;
    pluginInitialised = true;  // inside init the host's extensions may be asked for
    if (!made->init(made)) {
        made->destroy(made);
        pluginInitialised = false;
        return nullptr;
    }
    plugin = made;
    return plugin;
}

void TestClapHost::destroy() {
    if (!plugin) return;
    stopProcessing();
    deactivate();
    plugin->destroy(plugin);
    plugin = nullptr;
    pluginInitialised = false;
}

bool TestClapHost::activate(double rate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    return plugin->activate(plugin, rate, minFrames, maxFrames);
}

void TestClapHost::deactivate() { plugin->deactivate(plugin); }

bool TestClapHost::startProcessing() {
    bool started = false;
    audio.run([&] { started = plugin->startProcessing(plugin); });
    return started;
}

void TestClapHost::stopProcessing() {
    audio.run([&] { plugin->stopProcessing(plugin); });
}

void TestClapHost::fireTimers() {
    const auto* support =
        static_cast<const clapabi::PluginTimerSupport*>(plugin->getExtension(plugin, clapabi::kExtTimerSupport));
    const auto due = timers;  // the plug-in may unregister while one fires
    for (const auto& [id, period] : due) support->onTimer(plugin, id);
}

void TestClapHost::serveFlush(bool active, std::vector<std::string>& sent) {
    const int asked = count("request_flush");
    if (asked == flushesServed) return;
    flushesServed = asked;
    const auto* params = static_cast<const clapabi::PluginParams*>(plugin->getExtension(plugin, clapabi::kExtParams));
    InputEventList none;
    OutputEventList out;
    if (active)
        audio.run([&] { params->flush(plugin, none.list(), out.list()); });
    else
        params->flush(plugin, none.list(), out.list());
    sent.insert(sent.end(), out.seen.begin(), out.seen.end());
}

void TestClapHost::note(const std::string& call) {
    const std::lock_guard<std::mutex> lock(recording);
    log.push_back(call);
}

void TestClapHost::mainOnly(const char* what) {
    if (std::this_thread::get_id() != mainThread) {
        const std::lock_guard<std::mutex> lock(recording);
        broken.push_back(std::string(what) + " off the main thread");
    }
}

void TestClapHost::notAudio(const char* what) {
    if (audio.isCurrent()) {
        const std::lock_guard<std::mutex> lock(recording);
        broken.push_back(std::string(what) + " on the audio thread");
    }
}

std::vector<std::string> TestClapHost::calls() const {
    const std::lock_guard<std::mutex> lock(recording);
    return log;
}

int TestClapHost::count(const std::string& call) const {
    const std::lock_guard<std::mutex> lock(recording);
    return static_cast<int>(std::count(log.begin(), log.end(), call));
}

void TestClapHost::clearCalls() {
    const std::lock_guard<std::mutex> lock(recording);
    log.clear();
}

std::vector<std::string> TestClapHost::violations() const {
    const std::lock_guard<std::mutex> lock(recording);
    return broken;
}

// ---------------------------------------------------------- event lists

InputEventList::InputEventList() {
    table.ctx = this;
    table.size = size;
    table.get = get;
}

void InputEventList::add(std::uint32_t time, clapabi::Id id, double value) {
    clapabi::EventParamValue event{};
    event.header = {sizeof event, time, clapabi::kCoreEventSpace, clapabi::kEventParamValue, 0};
    event.paramId = id;
    event.noteId = -1;
    event.portIndex = event.channel = event.key = -1;
    event.value = value;
    events.push_back(event);
}

void InputEventList::addRaw(const clapabi::EventHeader& header) {
    // Kept in a whole record's room, whatever size the header claims.
    clapabi::EventParamValue event{};
    event.header = header;
    event.paramId = 5;
    event.value = 9.0;
    events.push_back(event);
}

std::uint32_t InputEventList::size(const clapabi::InputEvents* list) {
    return static_cast<std::uint32_t>(static_cast<InputEventList*>(list->ctx)->events.size());
}

const clapabi::EventHeader* InputEventList::get(const clapabi::InputEvents* list, std::uint32_t index) {
    auto& events = static_cast<InputEventList*>(list->ctx)->events;
    return index < events.size() ? &events[index].header : nullptr;
}

OutputEventList::OutputEventList() {
    table.ctx = this;
    table.tryPush = tryPush;
}

bool OutputEventList::tryPush(const clapabi::OutputEvents* list, const clapabi::EventHeader* event) {
    auto* self = static_cast<OutputEventList*>(list->ctx);
    if (!event || (self->capacity >= 0 && static_cast<int>(self->seen.size()) >= self->capacity))
        return false;
    char line[64] = "other";
    if (event->spaceId == clapabi::kCoreEventSpace && event->type == clapabi::kEventParamValue &&
        event->size == sizeof(clapabi::EventParamValue)) {
        clapabi::EventParamValue value;
        std::memcpy(&value, event, sizeof value);
        std::snprintf(line, sizeof line, "value %u %g", value.paramId, value.value);
    } else if (event->spaceId == clapabi::kCoreEventSpace &&
               (event->type == clapabi::kEventParamGestureBegin ||
                event->type == clapabi::kEventParamGestureEnd) &&
               event->size == sizeof(clapabi::EventParamGesture)) {
        clapabi::EventParamGesture gesture;
        std::memcpy(&gesture, event, sizeof gesture);
        std::snprintf(line, sizeof line, "%s %u",
                      event->type == clapabi::kEventParamGestureBegin ? "begin" : "end", gesture.paramId);
    }
    self->seen.push_back(line);
    return true;
}
