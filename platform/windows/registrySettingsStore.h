// Settings in the Windows registry under HKEY_LOCAL_MACHINE, where the
// product's per-machine settings live.
#pragma once

#include "../settingsStore.h"

namespace platform::windows {

class RegistrySettingsStore : public SettingsStore {
public:
    // Opens with KEY_QUERY_VALUE: the key can be read, not written.
    std::unique_ptr<SettingsKey> openKey(const char* path, long* status) override;
    // Creates or opens with KEY_WRITE; missing parent keys are created. An
    // ordinary user account is refused here on a real machine, and the status
    // says so: callers carry on silently with their defaults.
    std::unique_ptr<SettingsKey> createKey(const char* path, long* status) override;
};

}  // namespace platform::windows
