// The library's one export, clap_entry: a constant record (not a function)
// with the set-up, the tear-down and the factories.
#include <atomic>
#include <cstring>
#include <mutex>

#include "clapExtensionTables.h"

namespace {

// Hosts and wrapper plug-ins in one process may each init the library: the
// factories answer from the first init to the last deinit. Nothing else
// needs setting up (the editors' window class comes and goes with them).
std::mutex entryMutex;
std::atomic<int> entryUsers{0};

// Any thread, never beside another call into the library.
bool init(const char*) {
    const std::lock_guard<std::mutex> hold(entryMutex);
    entryUsers.fetch_add(1);
    return true;
}

void deinit() {
    const std::lock_guard<std::mutex> hold(entryMutex);
    // An unpaired deinit leaves the count at zero.
    if (entryUsers.load() > 0) entryUsers.fetch_sub(1);
}

// Thread-safe: constant tables, never freed.
const void* getFactory(const char* id) {
    if (!id || entryUsers.load() == 0) return nullptr;
    if (std::strcmp(id, clapabi::kPluginFactoryId) == 0) return &clapTables::kPluginFactory;
    if (std::strcmp(id, clapabi::kPresetDiscoveryFactoryId) == 0 ||
        std::strcmp(id, clapabi::kPresetDiscoveryFactoryIdCompat) == 0)
        return &clapTables::kPresetDiscoveryFactory;
    return nullptr;
}

}  // namespace

// A namespace-scope const object would have internal linkage: extern "C",
// unbraced, gives it the plain exported name.
#if defined(_WIN32)
extern "C" const clapabi::PluginEntry clap_entry = {clapabi::kVersion, init, deinit, getFactory};
#else
extern "C" __attribute__((visibility("default"))) const clapabi::PluginEntry clap_entry = {
    clapabi::kVersion, init, deinit, getFactory};
#endif
