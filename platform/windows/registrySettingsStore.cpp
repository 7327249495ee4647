#include "registrySettingsStore.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace platform::windows {

namespace {

class RegistrySettingsKey : public SettingsKey {
public:
    explicit RegistrySettingsKey(HKEY key) : key(key) {}
    ~RegistrySettingsKey() override { RegCloseKey(key); }
    RegistrySettingsKey(const RegistrySettingsKey&) = delete;
    RegistrySettingsKey& operator=(const RegistrySettingsKey&) = delete;

    long queryValue(const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        // A null name would read the key's default value; the store has no such thing.
        if (!name || !size) return kSettingsInvalidParameter;
        // The registry leaves the caller's buffer undefined when the value does not
        // fit; reading through a buffer of our own keeps the caller's untouched then.
        std::vector<BYTE> room(*size ? *size : 1);
        DWORD valueType = 0;
        DWORD valueSize = *size;
        LONG status = RegQueryValueExA(key, name, nullptr, &valueType, room.data(), &valueSize);
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            if (type) *type = valueType;
            *size = valueSize;
        }
        if (status == ERROR_SUCCESS && data && valueSize) std::memcpy(data, room.data(), valueSize);
        return status;
    }

    long setValue(const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        if (!name || (!data && size)) return kSettingsInvalidParameter;
        return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    }

private:
    HKEY key;
};

}  // namespace

std::unique_ptr<SettingsKey> RegistrySettingsStore::openKey(const char* path, long* status) {
    HKEY key = nullptr;
    LONG result = path ? RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key)
                       : static_cast<LONG>(kSettingsNotFound);
    if (status) *status = result;
    if (result != ERROR_SUCCESS) return nullptr;
    return std::make_unique<RegistrySettingsKey>(key);
}

std::unique_ptr<SettingsKey> RegistrySettingsStore::createKey(const char* path, long* status) {
    HKEY key = nullptr;
    LONG result = path ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr)
                       : static_cast<LONG>(kSettingsInvalidParameter);
    if (status) *status = result;
    if (result != ERROR_SUCCESS) return nullptr;
    return std::make_unique<RegistrySettingsKey>(key);
}

}  // namespace platform::windows
