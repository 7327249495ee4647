// The plug-in factory: the stereo and the mono plug-in, their descriptors,
// and instances made for a host. Thread-safe: constant data only.
#include <cstring>
#include <new>

#include "clapExtensionTables.h"
#include "clapInstance.h"
#include "kvbrVersion.h"

namespace {

constexpr const char* kStereoFeatures[] = {"audio-effect", "compressor", "stereo", nullptr};
constexpr const char* kMonoFeatures[] = {"audio-effect", "compressor", "mono", nullptr};

// The ids are what projects refer to: never to be changed.
constexpr clapabi::PluginDescriptor kDescriptors[] = {
    {clapabi::kVersion, "com.korvane.brassel", "Korvane Brassel", "Korvane",
     "https://korvane.com/", "", "", KVBR_VERSION, "Opto compressor with a valve stage",
     kStereoFeatures},
    {clapabi::kVersion, "com.korvane.brassel.mono", "Korvane Brassel Mono", "Korvane",
     "https://korvane.com/", "", "", KVBR_VERSION,
     "Opto compressor with a valve stage, one channel in and out", kMonoFeatures},
};
constexpr std::uint32_t kChannels[] = {2, 1};
constexpr std::uint32_t kPluginCount = sizeof kDescriptors / sizeof kDescriptors[0];

std::uint32_t getPluginCount(const clapabi::PluginFactory*) { return kPluginCount; }

const clapabi::PluginDescriptor* getPluginDescriptor(const clapabi::PluginFactory*,
                                                     std::uint32_t index) {
    return index < kPluginCount ? &kDescriptors[index] : nullptr;
}

// Never calls into the host: its extensions are fetched in the instance's init.
const clapabi::Plugin* createPlugin(const clapabi::PluginFactory*, const clapabi::Host* host,
                                    const char* pluginId) {
    if (!host || !pluginId || !clapabi::isCompatible(host->clapVersion)) return nullptr;
    for (std::uint32_t i = 0; i < kPluginCount; ++i) {
        if (std::strcmp(pluginId, kDescriptors[i].id) != 0) continue;
        // No exception may cross into the host: a failed construction is a refusal.
        try {
            auto* instance = new ClapInstance({&kDescriptors[i], kChannels[i]}, host);
            return instance->record();
        } catch (...) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

namespace clapTables {

const clapabi::PluginFactory kPluginFactory = {getPluginCount, getPluginDescriptor, createPlugin};

}  // namespace clapTables
