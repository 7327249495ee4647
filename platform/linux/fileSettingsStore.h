// Settings kept as files under the user's configuration folder: the key
// "SOFTWARE\Korvane\KVBRS1\Preferences" is the file Korvane/KVBRS1/Preferences.
#pragma once

#include <string>

#include "../settingsStore.h"

namespace platform::linux_backend {

class FileSettingsStore : public SettingsStore {
public:
    // An empty root means $XDG_CONFIG_HOME, else ~/.config, looked up at each call.
    explicit FileSettingsStore(std::string root = std::string());

    std::unique_ptr<SettingsKey> openKey(const char* path, long* status) override;
    std::unique_ptr<SettingsKey> createKey(const char* path, long* status) override;

    // The file that holds a key, or "" for a path that names no safe file.
    std::string fileForKey(const char* path) const;

private:
    std::string configRoot() const;
    std::string root;
};

}  // namespace platform::linux_backend
