// The instance's life cycle: construction, the host's extensions,
// activation, programs chosen by the host, and the thread checks.
#include "clapInstance.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "clapEditor.h"
#include "clapExtensionTables.h"
#include "core/controls.h"

namespace {

template <typename Extension>
const Extension* hostExtension(const clapabi::Host* host, const char* id) {
    if (!host || !host->getExtension) return nullptr;
    return static_cast<const Extension*>(host->getExtension(host, id));
}

}  // namespace

ClapInstance::ClapInstance(const ClapVariant& variant, const clapabi::Host* host)
    : variant(variant), hostRecord(host) {
    editor = std::make_unique<ClapEditor>(*this);
    plugin = clapTables::kPluginFunctions;
    plugin.desc = variant.descriptor;
    plugin.pluginData = this;
}

// The editor lets go of the host's timer and descriptor while the
// compressor it shows still exists.
ClapInstance::~ClapInstance() { editor.reset(); }

ClapInstance* ClapInstance::of(const clapabi::Plugin* plugin) {
    if (!plugin) return nullptr;
    auto* self = static_cast<ClapInstance*>(plugin->pluginData);
    return self && self->record() == plugin ? self : nullptr;
}

bool ClapInstance::init() {
    if (initialised) return true;
    extensions.params = hostExtension<clapabi::HostParams>(hostRecord, clapabi::kExtParams);
    extensions.state = hostExtension<clapabi::HostState>(hostRecord, clapabi::kExtState);
    extensions.timer =
        hostExtension<clapabi::HostTimerSupport>(hostRecord, clapabi::kExtTimerSupport);
    extensions.fd =
        hostExtension<clapabi::HostPosixFdSupport>(hostRecord, clapabi::kExtPosixFdSupport);
    extensions.log = hostExtension<clapabi::HostLog>(hostRecord, clapabi::kExtLog);
    extensions.gui = hostExtension<clapabi::HostGui>(hostRecord, clapabi::kExtGui);
    extensions.presetLoad =
        hostExtension<clapabi::HostPresetLoad>(hostRecord, clapabi::kExtPresetLoad);
    if (!extensions.presetLoad)
        extensions.presetLoad =
            hostExtension<clapabi::HostPresetLoad>(hostRecord, clapabi::kExtPresetLoadCompat);
    extensions.threadCheck =
        hostExtension<clapabi::HostThreadCheck>(hostRecord, clapabi::kExtThreadCheck);
    initialised = true;
    // Only now is there a thread-check to ask.
    checkThread(ClapThread::main, "init");
    return true;
}

bool ClapInstance::activate(double sampleRate, std::uint32_t minFrames, std::uint32_t maxFrames) {
    if (active) {
        log(clapabi::kLogHostMisbehaving, "activate: already active");
        return false;
    }
    if (!std::isfinite(sampleRate) || sampleRate <= 0.0 || maxFrames == 0 ||
        maxFrames > 0x7FFFFFFFu || minFrames > maxFrames) {
        log(clapabi::kLogHostMisbehaving, "activate: no usable sample rate or block sizes");
        return false;
    }
    // The rate as the VST 2.x plug-in gets it, a float, so that both design
    // the same filters. Rates the engine was not designed for fall back
    // inside resume.
    compressor.setSampleRate(static_cast<float>(sampleRate));
    compressor.resume();
    active = true;
    return true;
}

void ClapInstance::deactivate() {
    if (!active) return;
    if (processing.load()) {
        // The audio thread may still be inside process: leaving the engine
        // alone is the only safe answer.
        log(clapabi::kLogHostMisbehaving, "deactivate: still processing; ignored");
        return;
    }
    compressor.suspend();
    active = false;
}

bool ClapInstance::startProcessing() {
    if (!active) return false;
    processing.store(true);
    return true;
}

void ClapInstance::stopProcessing() { processing.store(false); }

void ClapInstance::reset() {
    if (active) compressor.clearEngine();
}

double ClapInstance::gainAdjustment() const {
    if (!processing.load(std::memory_order_relaxed)) return 0.0;
    return -static_cast<double>(controls::gainReductionDb(compressor.getMeterReading()));
}

void ClapInstance::log(std::int32_t severity, const char* message) const {
    if (extensions.log && extensions.log->log) extensions.log->log(hostRecord, severity, message);
}

bool ClapInstance::loadProgram(int slot) {
    if (slot < 1 || slot >= kBankPrograms) return false;
    // The host's own choice: it hears of the new values through one rescan,
    // not as automation.
    compressor.bank().selectPreset(slot);
    port.tellHostEdited();
    return true;
}

#if KVBR_CLAP_THREAD_CHECKS
void ClapInstance::checkThread(ClapThread thread, const char* entry) const {
    const clapabi::HostThreadCheck* check = extensions.threadCheck;
    if (!check || thread == ClapThread::anyThread) return;
    if (thread == ClapThread::mainOrAudio) thread = active ? ClapThread::audio : ClapThread::main;
    const bool audio = thread == ClapThread::audio;
    bool (*ask)(const clapabi::Host*) = audio ? check->isAudioThread : check->isMainThread;
    if (!ask || ask(hostRecord)) return;
    char message[160];
    std::snprintf(message, sizeof message, "%s: called off the %s thread", entry,
                  audio ? "audio" : "main");
    if (extensions.log && extensions.log->log)
        log(clapabi::kLogHostMisbehaving, message);
    else
        std::fprintf(stderr, "Korvane Brassel: %s\n", message);
    const char* mode = std::getenv("KVBR_THREAD_CHECK");
    if (mode && std::strcmp(mode, "abort") == 0) std::abort();
}
#endif
