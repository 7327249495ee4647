#include "preferenceStore.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/settingsStore.h"

namespace {
std::string preferencesKey() { return std::string(kSettingsKeyBase) + "\\Preferences"; }
}  // namespace

float readPreference(const char* name, float fallback) {
    long status = 0;
    auto key = platform::settingsStore().openKey(preferencesKey().c_str(), &status);
    if (!key) return fallback;
    unsigned char buffer[4];
    std::memcpy(buffer, &fallback, 4);
    std::uint32_t size = 4;
    // A shorter value would leave a mix of its bytes and the fallback's: treat it as absent.
    if (key->queryValue(name, nullptr, buffer, &size) != platform::kSettingsOk || size != 4)
        return fallback;
    float value;
    std::memcpy(&value, buffer, 4);
    return value;
}

void writePreference(const char* name, float value) {
    long status = 0;
    auto key = platform::settingsStore().createKey(preferencesKey().c_str(), &status);
    if (!key) return;
    unsigned char bytes[4];
    std::memcpy(bytes, &value, 4);
    key->setValue(name, platform::kSettingsBinary, bytes, 4);
}
