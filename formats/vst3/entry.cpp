// The module's entry points: GetPluginFactory everywhere, ModuleEntry and
// ModuleExit on Linux, InitDll and ExitDll on Windows. Nothing else leaves
// the module (exports.map, exports.def).
#include <atomic>

#include "factory.h"

#if defined(_WIN32)
#define KVBR_VST3_EXPORT extern "C"
#else
#define KVBR_VST3_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
// Hosts may enter more than once; each entry has its exit.
std::atomic<int> entries{0};
bool enter() {
    entries.fetch_add(1);
    return true;
}
bool leave() {
    int now = entries.load();
    while (now > 0 && !entries.compare_exchange_weak(now, now - 1)) {
    }
    return now > 0;
}
}  // namespace

KVBR_VST3_EXPORT vst3::IPluginFactory* GetPluginFactory() { return vst3::Factory::handOut(); }

#if defined(_WIN32)
KVBR_VST3_EXPORT bool InitDll() { return enter(); }
KVBR_VST3_EXPORT bool ExitDll() { return leave(); }
#else
KVBR_VST3_EXPORT bool ModuleEntry(void*) { return enter(); }
KVBR_VST3_EXPORT bool ModuleExit() { return leave(); }
#endif
