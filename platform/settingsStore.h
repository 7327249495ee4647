// A small per-machine settings store shaped like the Windows registry: keys
// by backslash path, named values with a type and exact bytes.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Status codes, numbered as the registry numbers them.
constexpr long kSettingsOk = 0;
constexpr long kSettingsNotFound = 2;
constexpr long kSettingsAccessDenied = 5;
constexpr long kSettingsInvalidParameter = 87;
constexpr long kSettingsMoreData = 234;

// Value types, numbered as the registry numbers them.
constexpr std::uint32_t kSettingsString = 1;
constexpr std::uint32_t kSettingsBinary = 3;
constexpr std::uint32_t kSettingsDword = 4;

class SettingsKey {
public:
    virtual ~SettingsKey() = default;  // closes the key
    // Reads a value into data (room: *size bytes). On success *size is the value's
    // size and *type (if given) its type; a value larger than the room answers
    // kSettingsMoreData and copies nothing.
    virtual long queryValue(const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size) = 0;
    virtual long setValue(const char* name, std::uint32_t type, const void* data,
                          std::uint32_t size) = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Opens an existing key for reading; null with *status set when it cannot.
    virtual std::unique_ptr<SettingsKey> openKey(const char* path, long* status) = 0;
    // Opens a key for writing, creating it and its parents when missing. Such a
    // key need not allow reads (the registry's refuses them): read through openKey.
    virtual std::unique_ptr<SettingsKey> createKey(const char* path, long* status) = 0;
};

// The store of the backend this program was linked with.
SettingsStore& settingsStore();

}  // namespace platform
