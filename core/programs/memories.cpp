// The A/B memories: twelve values and a name per memory in the machine's
// settings store, shared by every instance of the plug-in.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "ProgramBank.h"
#include "core/preferenceStore.h"
#include "platform/settingsStore.h"

namespace {

// The store reads the name into a buffer of this size.
constexpr std::uint32_t kMemoNameRoom = 64;

std::string memoKey(const char* memo) { return std::string(kSettingsKeyBase) + "\\" + memo; }

// "param  0" to "param 11": the index right-aligned in three characters.
void paramValueName(char (&out)[16], int index) {
    std::snprintf(out, sizeof(out), "param%3d", index);
}

}  // namespace

long ProgramBank::storeMemo(const char* memo) {
    const MainTurn turn(*this);
    settle();
    long status = platform::kSettingsOk;
    auto key = platform::settingsStore().createKey(memoKey(memo).c_str(), &status);
    if (!key) return status;
    for (int i = 0; i < kProgramParams; ++i) {
        float value = parameters.get(i);
        if (std::isnan(value)) value = 0.0f;
        unsigned char bytes[4];
        std::memcpy(bytes, &value, 4);
        char valueName[16];
        paramValueName(valueName, i);
        status = key->setValue(valueName, platform::kSettingsBinary, bytes, 4);
    }
    char name[kProgramNameLength + 1];
    programs[currentPreset].getName(name);
    status = key->setValue("name", platform::kSettingsString, name,
                           static_cast<std::uint32_t>(std::strlen(name) + 1));
    return status;
}

long ProgramBank::recallMemo(const char* memo, HostPort* port) {
    const MainTurn turn(*this);
    settle();
    long status = platform::kSettingsOk;
    auto key = platform::settingsStore().openKey(memoKey(memo).c_str(), &status);
    if (!key) return status;
    for (int i = 0; i < kProgramParams; ++i) {
        char valueName[16];
        paramValueName(valueName, i);
        unsigned char bytes[4];
        std::uint32_t size = sizeof(bytes);
        status = key->queryValue(valueName, nullptr, bytes, &size);
        // A value that is missing or of another size was never ours: the
        // parameter keeps what it has.
        if (status != platform::kSettingsOk || size != 4) continue;
        float value;
        std::memcpy(&value, bytes, 4);
        // The host hears the value the parameter keeps, never a NaN.
        if (std::isnan(value)) value = 0.0f;
        parameters.set(i, value);
        if (port) port->automate(i, value);
    }
    char name[kMemoNameRoom];
    std::uint32_t size = sizeof(name);
    status = key->queryValue("name", nullptr, name, &size);
    // Only a name that ends within what was read is applied.
    if (status == platform::kSettingsOk && size <= sizeof(name) && std::memchr(name, 0, size))
        setPresetName(name);
    if (port) port->updateDisplay();
    return status;
}
