// A settings store held in memory, for tests and offline rendering.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "../settingsStore.h"

namespace platform::headless {

class MemorySettingsStore : public SettingsStore {
public:
    struct Value {
        std::uint32_t type = 0;
        std::vector<unsigned char> bytes;
    };
    using Key = std::map<std::string, Value>;

    std::unique_ptr<SettingsKey> openKey(const char* path, long* status) override;
    std::unique_ptr<SettingsKey> createKey(const char* path, long* status) override;

    // Test controls: forget everything, refuse writes as an ordinary user account
    // is refused on the machine hive, count the writes made.
    void clear();
    void setWritable(bool writable);
    int writeCount() const;
    bool hasKey(const std::string& path) const;
    bool getValue(const std::string& path, const std::string& name, Value& out) const;
    void putValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const void* data, std::uint32_t size);
    void eraseValue(const std::string& path, const std::string& name);

private:
    friend class MemorySettingsKey;
    mutable std::mutex mutex;
    std::map<std::string, Key> keys;
    bool writable = true;
    int writes = 0;
};

// The memory store the headless backend hands out as settingsStore().
MemorySettingsStore& memorySettingsStore();

}  // namespace platform::headless
