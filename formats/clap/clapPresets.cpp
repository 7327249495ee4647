// The factory programs for hosts' preset browsers: a preset discovery
// factory whose one provider lists programs 1 to 32 of the factory bank
// inside the plug-in, with the slot number as the load key, and the
// preset-load extension that selects that slot of the instance's own bank.
#include <cstdio>
#include <cstring>
#include <new>

#include "clapExtensionTables.h"
#include "clapInstance.h"
#include "core/programs/factoryPresets.h"

namespace {

constexpr clapabi::PresetProviderDescriptor kProviderDescriptor = {
    clapabi::kVersion, "com.korvane.brassel.factory-programs", "Korvane Brassel factory programs",
    "Korvane"};

constexpr const char* kPluginIds[] = {"com.korvane.brassel", "com.korvane.brassel.mono"};

// The slot a load key names ("1" to "32", digits only), or 0.
int slotOfKey(const char* key) {
    if (!key || !*key || std::strlen(key) > 2) return 0;
    int slot = 0;
    for (const char* c = key; *c; ++c) {
        if (*c < '0' || *c > '9') return 0;
        slot = slot * 10 + (*c - '0');
    }
    return slot >= 1 && slot < kBankPrograms ? slot : 0;
}

bool isOurLocation(std::uint32_t kind, const char* location) {
    return kind == clapabi::kPresetLocationPlugin && (!location || !*location);
}

// ---------------------------------------------------------- the provider

struct Provider {
    clapabi::PresetProvider record;
    const clapabi::PresetIndexer* indexer;
};

const Provider* providerOf(const clapabi::PresetProvider* provider) {
    return provider ? static_cast<const Provider*>(provider->providerData) : nullptr;
}

bool providerInit(const clapabi::PresetProvider* provider) {
    const Provider* self = providerOf(provider);
    if (!self || !self->indexer || !self->indexer->declareLocation) return false;
    const clapabi::PresetLocation location = {clapabi::kPresetIsFactoryContent, "Factory programs",
                                              clapabi::kPresetLocationPlugin, nullptr};
    return self->indexer->declareLocation(self->indexer, &location);
}

void providerDestroy(const clapabi::PresetProvider* provider) { delete providerOf(provider); }

bool getMetadata(const clapabi::PresetProvider* provider, std::uint32_t kind, const char* location,
                 const clapabi::PresetMetadataReceiver* receiver) {
    if (!providerOf(provider) || !receiver || !receiver->beginPreset || !isOurLocation(kind, location))
        return false;
    for (int slot = 1; slot < kBankPrograms; ++slot) {
        CProgram program;
        writeFactoryPreset(slot, program);
        char name[kProgramNameLength + 1];
        program.getName(name);
        char key[4];
        std::snprintf(key, sizeof key, "%d", slot);
        if (!receiver->beginPreset(receiver, name, key)) break;
        // Both plug-ins start from the same bank.
        if (receiver->addPluginId)
            for (const char* id : kPluginIds) {
                const clapabi::UniversalPluginId plugin = {"clap", id};
                receiver->addPluginId(receiver, &plugin);
            }
        if (receiver->setFlags) receiver->setFlags(receiver, clapabi::kPresetIsFactoryContent);
    }
    return true;
}

const void* providerExtension(const clapabi::PresetProvider*, const char*) { return nullptr; }

// ----------------------------------------------------------- the factory

std::uint32_t providerCount(const clapabi::PresetDiscoveryFactory*) { return 1; }

const clapabi::PresetProviderDescriptor* providerDescriptor(const clapabi::PresetDiscoveryFactory*,
                                                            std::uint32_t index) {
    return index == 0 ? &kProviderDescriptor : nullptr;
}

const clapabi::PresetProvider* createProvider(const clapabi::PresetDiscoveryFactory*,
                                              const clapabi::PresetIndexer* indexer,
                                              const char* providerId) {
    if (!indexer || !providerId || std::strcmp(providerId, kProviderDescriptor.id) != 0)
        return nullptr;
    auto* provider = new (std::nothrow) Provider{};
    if (!provider) return nullptr;
    provider->record = {&kProviderDescriptor, provider,    providerInit,
                        providerDestroy,      getMetadata, providerExtension};
    provider->indexer = indexer;
    return &provider->record;
}

// ------------------------------------------------------------ preset load

// Main thread: the slot selected as the host's own choice.
bool fromLocation(const clapabi::Plugin* plugin, std::uint32_t kind, const char* location,
                  const char* loadKey) {
    ClapInstance* self = ClapInstance::enter(plugin, ClapThread::main, "preset-load.from_location");
    if (!self) return false;
    const clapabi::HostPresetLoad* host = self->hostExtensions().presetLoad;
    const int slot = isOurLocation(kind, location) ? slotOfKey(loadKey) : 0;
    if (!slot || !self->loadProgram(slot)) {
        if (host && host->onError)
            host->onError(self->host(), kind, location, loadKey, 0, "no such factory program");
        return false;
    }
    if (host && host->loaded) host->loaded(self->host(), kind, location, loadKey);
    return true;
}

}  // namespace

namespace clapTables {

const clapabi::PresetDiscoveryFactory kPresetDiscoveryFactory = {providerCount, providerDescriptor,
                                                                 createProvider};
const clapabi::PluginPresetLoad kPresetLoad = {fromLocation};

}  // namespace clapTables
