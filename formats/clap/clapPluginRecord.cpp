// The plug-in record's functions: each finds its instance and forwards, so
// that a host's call on a record that is not ours does nothing.
#include <cstring>

#include "clapExtensionTables.h"
#include "clapInstance.h"

namespace {

// Main thread; checks its thread once it has the host's thread-check.
bool init(const clapabi::Plugin* plugin) {
    ClapInstance* self = ClapInstance::of(plugin);
    return self && self->init();
}

// Main thread; the only way an instance goes.
void destroy(const clapabi::Plugin* plugin) {
    delete ClapInstance::enter(plugin, ClapThread::main, "destroy");
}

// Main thread.
bool activate(const clapabi::Plugin* plugin, double rate, std::uint32_t minFrames,
              std::uint32_t maxFrames) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "activate");
    return self && self->activate(rate, minFrames, maxFrames);
}

void deactivate(const clapabi::Plugin* plugin) {
    if (ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "deactivate"))
        self->deactivate();
}

// Audio thread.
bool startProcessing(const clapabi::Plugin* plugin) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::audio, "start_processing");
    return self && self->startProcessing();
}

void stopProcessing(const clapabi::Plugin* plugin) {
    if (ClapInstance* self = ClapInstance::enter(plugin, ClapThread::audio, "stop_processing"))
        self->stopProcessing();
}

void reset(const clapabi::Plugin* plugin) {
    if (ClapInstance* self = ClapInstance::enter(plugin, ClapThread::audio, "reset")) self->reset();
}

clapabi::ProcessStatus process(const clapabi::Plugin* plugin, const clapabi::Process* block) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::audio, "process");
    return self && block ? self->process(*block) : clapabi::kProcessError;
}

// Any thread: constant tables, for as long as the instance lives.
const void* getExtension(const clapabi::Plugin* plugin, const char* id) {
    if (!ClapInstance::of(plugin) || !id) return nullptr;
    struct Offer {
        const char* id;
        const void* table;
    };
    static const Offer kOffers[] = {
        {clapabi::kExtAudioPorts, &clapTables::kAudioPorts},
        {clapabi::kExtParams, &clapTables::kParams},
        {clapabi::kExtState, &clapTables::kState},
        {clapabi::kExtGui, &clapTables::kGui},
        {clapabi::kExtTimerSupport, &clapTables::kTimerSupport},
#if !defined(_WIN32)
        {clapabi::kExtPosixFdSupport, &clapTables::kPosixFdSupport},
#endif
        {clapabi::kExtGainAdjustmentMetering, &clapTables::kGainAdjustmentMetering},
        {clapabi::kExtPresetLoad, &clapTables::kPresetLoad},
        {clapabi::kExtPresetLoadCompat, &clapTables::kPresetLoad},
    };
    for (const Offer& offer : kOffers)
        if (std::strcmp(id, offer.id) == 0) return offer.table;
    return nullptr;
}

// Main thread: nothing is ever asked for with request_callback.
void onMainThread(const clapabi::Plugin* plugin) {
    ClapInstance::enter(plugin, ClapThread::main, "on_main_thread");
}

}  // namespace

namespace clapTables {

const clapabi::Plugin kPluginFunctions = {
    nullptr, nullptr, init,    destroy,      activate,  deactivate, startProcessing,
    stopProcessing, reset, process, getExtension, onMainThread};

}  // namespace clapTables
