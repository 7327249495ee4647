// The A/B memories: twelve values and a name per memory in the machine's
// settings store, shared by every instance of the effect.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/settingsStore.h"
#include "core/preferenceStore.h"
#include "CPresetSystemEffect.h"

namespace {

// The store reads the name into a buffer of this size.
constexpr std::uint32_t kMemoNameRoom = 64;

std::string memoKey(const char* memo) { return std::string(kSettingsKeyBase) + "\\" + memo; }

// "param  0" to "param 11": the index right-aligned in three characters.
void paramValueName(char (&out)[16], int index) {
    std::snprintf(out, sizeof(out), "param%3d", index);
}

}  // namespace

long CPresetSystemEffect::storeMemo(const char* memo) {
    long status = platform::kSettingsOk;
    auto key = platform::settingsStore().createKey(memoKey(memo).c_str(), &status);
    if (!key) return status;
    for (vst2::int32 i = 0; i < kProgramParams; ++i) {
        float value = getParameter(i);
        if (std::isnan(value)) value = 0.0f;
        unsigned char bytes[4];
        std::memcpy(bytes, &value, 4);
        char valueName[16];
        paramValueName(valueName, i);
        status = key->setValue(valueName, platform::kSettingsBinary, bytes, 4);
    }
    if (programs) {
        char name[kProgramNameLength + 1];
        programs[currentPreset.load(std::memory_order_relaxed)].getName(name);
        status = key->setValue("name", platform::kSettingsString, name,
                               static_cast<std::uint32_t>(std::strlen(name) + 1));
    }
    return status;
}

long CPresetSystemEffect::recallMemo(const char* memo) {
    long status = platform::kSettingsOk;
    auto key = platform::settingsStore().openKey(memoKey(memo).c_str(), &status);
    if (!key) return status;
    for (vst2::int32 i = 0; i < kProgramParams; ++i) {
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
        // The host hears the value the effect keeps, never a NaN.
        if (std::isnan(value)) value = 0.0f;
        setParameterAutomated(i, value);
    }
    char name[kMemoNameRoom];
    std::uint32_t size = sizeof(name);
    status = key->queryValue("name", nullptr, name, &size);
    // Only a name that ends within what was read is applied.
    if (status == platform::kSettingsOk && size <= sizeof(name) && std::memchr(name, 0, size))
        setPresetName(name);
    updateDisplay();
    return status;
}

long CPresetSystemEffect::storeMemoA() { return storeMemo("MemoA"); }
long CPresetSystemEffect::storeMemoB() { return storeMemo("MemoB"); }
long CPresetSystemEffect::recallMemoA() { return recallMemo("MemoA"); }
long CPresetSystemEffect::recallMemoB() { return recallMemo("MemoB"); }
