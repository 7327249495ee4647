// What the host answers when an effect calls it: a VST 2.4 host that renders
// offline, has every pin connected and accepts automation and edit gestures.
#include <cstring>

#include "pluginHost.h"

namespace render {

using namespace vst2;

namespace {

constexpr const char* kHostVendor = "Korvane";
constexpr const char* kHostProduct = "kvbr-render";
constexpr int32 kHostVersion = 1100;

// What this host really does, asked by effects through audioMasterCanDo.
constexpr const char* kHostCanDo[] = {"sendVstTimeInfo", "startStopProcess", "shellCategory"};

void copyText(void* ptr, const char* text) {
    if (!ptr) return;
    std::strncpy(static_cast<char*>(ptr), text, kVstMaxVendorStrLen);
    static_cast<char*>(ptr)[kVstMaxVendorStrLen] = 0;
}

}  // namespace

intptr PluginHost::callback(AEffect* effect, int32 opcode, int32 index, intptr value, void* ptr,
                            float opt) {
    // The version question comes before any record exists, from any effect.
    if (opcode == audioMasterVersion) return 2400;
    // While an entry call runs, its record may still be half built.
    PluginHost* host = loadingHost;
    if (!host && effect && effect->magic == kEffectMagic && effect->user)
        host = static_cast<PluginHost*>(effect->user);
    return host ? host->answer(opcode, index, value, ptr, opt) : 0;
}

intptr PluginHost::answer(int32 opcode, int32, intptr, void* ptr, float) {
    switch (opcode) {
        case audioMasterCurrentId: return currentShellId;
        case audioMasterAutomate: ++automateCount; return 1;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterUpdateDisplay:
        case audioMasterIdle: return 1;
        // 0 means connected: every pin the effect declares has a buffer.
        case audioMasterPinConnected: return 0;
        case audioMasterGetTime: return reinterpret_cast<intptr>(&timeInfo);
        case audioMasterGetSampleRate: return static_cast<intptr>(rate);
        case audioMasterGetBlockSize: return maxBlock;
        case audioMasterGetCurrentProcessLevel: return kVstProcessLevelOffline;
        case audioMasterGetVendorString: copyText(ptr, kHostVendor); return ptr ? 1 : 0;
        case audioMasterGetProductString: copyText(ptr, kHostProduct); return ptr ? 1 : 0;
        case audioMasterGetVendorVersion: return kHostVersion;
        case audioMasterCanDo:
            if (!ptr) return 0;
            for (const char* known : kHostCanDo)
                if (std::strcmp(static_cast<const char*>(ptr), known) == 0) return 1;
            return 0;
        // Layout changes, window sizes and MIDI are not for an offline renderer.
        default: return 0;
    }
}

}  // namespace render
