// The CLAP 1.2 binary interface, part four: preset discovery, through which
// a host indexes the factory programs for its browser without an instance.
// The factory is thread-safe; a provider, its indexer and a metadata
// receiver are used by one thread at a time.
#pragma once

#include <cstdint>

#include "clapCore.h"

namespace clapabi {

inline constexpr const char* kPresetDiscoveryFactoryId = "clap.preset-discovery-factory/2";
inline constexpr const char* kPresetDiscoveryFactoryIdCompat =
    "clap.preset-discovery-factory/draft-2";

enum PresetLocationKind : std::uint32_t {
    kPresetLocationFile = 0,
    kPresetLocationPlugin = 1,  // presets inside the plug-in; the location is null
};

// For locations and for single presets.
enum PresetFlags : std::uint32_t {
    kPresetIsFactoryContent = 1,
    kPresetIsUserContent = 2,
    kPresetIsDemoContent = 4,
    kPresetIsFavorite = 8,
};

using Timestamp = std::uint64_t;  // seconds since the Unix epoch; 0 unknown

struct UniversalPluginId {
    const char* abi;  // "clap"
    const char* id;
};

struct PresetLocation {
    std::uint32_t flags;
    const char* name;
    std::uint32_t kind;
    const char* location;
};

// Given to the provider's get_metadata; one preset at a time.
struct PresetMetadataReceiver {
    void* receiverData;
    void (*onError)(const PresetMetadataReceiver* receiver, std::int32_t osError,
                    const char* message);
    // False: the host wants no more presets from this location.
    bool (*beginPreset)(const PresetMetadataReceiver* receiver, const char* name,
                        const char* loadKey);
    void (*addPluginId)(const PresetMetadataReceiver* receiver, const UniversalPluginId* pluginId);
    void (*setSoundpackId)(const PresetMetadataReceiver* receiver, const char* soundpackId);
    void (*setFlags)(const PresetMetadataReceiver* receiver, std::uint32_t flags);
    void (*addCreator)(const PresetMetadataReceiver* receiver, const char* creator);
    void (*setDescription)(const PresetMetadataReceiver* receiver, const char* description);
    void (*setTimestamps)(const PresetMetadataReceiver* receiver, Timestamp created,
                          Timestamp modified);
    void (*addFeature)(const PresetMetadataReceiver* receiver, const char* feature);
    void (*addExtraInfo)(const PresetMetadataReceiver* receiver, const char* key,
                         const char* value);
};

// The host's side of one provider. File types and sound packs are not used
// here; their records stay opaque.
struct PresetIndexer {
    Version clapVersion;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexerData;
    bool (*declareFiletype)(const PresetIndexer* indexer, const void* filetype);
    bool (*declareLocation)(const PresetIndexer* indexer, const PresetLocation* location);
    bool (*declareSoundpack)(const PresetIndexer* indexer, const void* soundpack);
    const void* (*getExtension)(const PresetIndexer* indexer, const char* extensionId);
};

struct PresetProviderDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
};

struct PresetProvider {
    const PresetProviderDescriptor* desc;
    void* providerData;
    // Declares the locations; false if the provider cannot work.
    bool (*init)(const PresetProvider* provider);
    void (*destroy)(const PresetProvider* provider);
    bool (*getMetadata)(const PresetProvider* provider, std::uint32_t locationKind,
                        const char* location, const PresetMetadataReceiver* receiver);
    const void* (*getExtension)(const PresetProvider* provider, const char* extensionId);
};

struct PresetDiscoveryFactory {
    std::uint32_t (*count)(const PresetDiscoveryFactory* factory);
    const PresetProviderDescriptor* (*getDescriptor)(const PresetDiscoveryFactory* factory,
                                                     std::uint32_t index);
    const PresetProvider* (*create)(const PresetDiscoveryFactory* factory,
                                    const PresetIndexer* indexer, const char* providerId);
};

}  // namespace clapabi
