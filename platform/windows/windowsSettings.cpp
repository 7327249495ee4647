// On Windows the settings live in the registry of the local machine.
#include "registrySettingsStore.h"

namespace platform {

SettingsStore& settingsStore() {
    static windows::RegistrySettingsStore store;
    return store;
}

}  // namespace platform
