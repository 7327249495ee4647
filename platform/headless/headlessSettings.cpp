// The headless backend keeps settings in memory only.
#include "memorySettingsStore.h"

namespace platform {

SettingsStore& settingsStore() { return headless::memorySettingsStore(); }

}  // namespace platform
