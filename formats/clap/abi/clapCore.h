// The CLAP 1.2 binary interface, part one: versions, the library's entry, the
// plug-in factory and descriptor, and the host and plug-in records. Declared
// here from the interface's published facts; field order and types are the
// layout hosts rely on (clap/abi/layoutChecks.cpp holds every offset).
// Every function pointer is a plain C function pointer: on x86-64 each system
// has one C calling convention, which both gcc and mingw-w64 use by default.
#pragma once

#include <cstdint>

namespace clapabi {

using Id = std::uint32_t;
inline constexpr Id kInvalidId = 0xFFFFFFFFu;

// Display names and module paths ("Group/Sub") in fixed buffers.
inline constexpr std::uint32_t kNameSize = 256;
inline constexpr std::uint32_t kPathSize = 1024;

struct Version {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t revision;
};

// What this build writes into its entry and descriptors.
inline constexpr Version kVersion = {1, 2, 10};

// Any 1.x host talks to any 1.y plug-in; 0.x were development releases.
constexpr bool isCompatible(const Version& v) { return v.major >= 1; }

// ------------------------------------------------------------- the entry

struct PluginEntry {
    Version clapVersion;
    // Any thread, never concurrently with the other two: counted set-up.
    bool (*init)(const char* pluginPath);
    void (*deinit)();
    // Thread-safe; null for an unknown factory. The answer is never freed.
    const void* (*getFactory)(const char* factoryId);
};

// ------------------------------------------------- descriptor and factory

struct PluginDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manualUrl;
    const char* supportUrl;
    const char* version;
    const char* description;
    const char* const* features;  // ended by a null pointer
};

struct Host;
struct Plugin;

inline constexpr const char* kPluginFactoryId = "clap.plugin-factory";

struct PluginFactory {
    std::uint32_t (*getPluginCount)(const PluginFactory* factory);
    const PluginDescriptor* (*getPluginDescriptor)(const PluginFactory* factory,
                                                   std::uint32_t index);
    // Must not call into the host; the host stays valid until after destroy.
    const Plugin* (*createPlugin)(const PluginFactory* factory, const Host* host,
                                  const char* pluginId);
};

// ------------------------------------------------------ host and plug-in

struct Host {
    Version clapVersion;
    void* hostData;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    // Thread-safe; not before the plug-in's init.
    const void* (*getExtension)(const Host* host, const char* extensionId);
    void (*requestRestart)(const Host* host);
    void (*requestProcess)(const Host* host);
    void (*requestCallback)(const Host* host);
};

struct Process;
using ProcessStatus = std::int32_t;

struct Plugin {
    const PluginDescriptor* desc;
    void* pluginData;
    bool (*init)(const Plugin* plugin);
    void (*destroy)(const Plugin* plugin);
    bool (*activate)(const Plugin* plugin, double sampleRate, std::uint32_t minFramesCount,
                     std::uint32_t maxFramesCount);
    void (*deactivate)(const Plugin* plugin);
    bool (*startProcessing)(const Plugin* plugin);
    void (*stopProcessing)(const Plugin* plugin);
    void (*reset)(const Plugin* plugin);
    ProcessStatus (*process)(const Plugin* plugin, const Process* process);
    const void* (*getExtension)(const Plugin* plugin, const char* extensionId);
    void (*onMainThread)(const Plugin* plugin);
};

}  // namespace clapabi
