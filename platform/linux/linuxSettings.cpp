// On Linux the settings live in files under the user's configuration folder.
#include "fileSettingsStore.h"

namespace platform {

SettingsStore& settingsStore() {
    static linux_backend::FileSettingsStore store;
    return store;
}

}  // namespace platform
