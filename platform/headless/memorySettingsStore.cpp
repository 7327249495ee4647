#include "memorySettingsStore.h"
#include "../settingsValue.h"

#include <cstring>

namespace platform::headless {

class MemorySettingsKey : public SettingsKey {
public:
    MemorySettingsKey(MemorySettingsStore& store, std::string path, bool forWriting)
        : store(store), path(std::move(path)), forWriting(forWriting) {}

    long queryValue(const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        if (!name || !size) return kSettingsInvalidParameter;
        // As in the registry, a key opened for writing is not one to read through:
        // code that works here then works on Windows too.
        if (forWriting) return kSettingsAccessDenied;
        std::lock_guard<std::mutex> lock(store.mutex);
        auto key = store.keys.find(path);
        if (key == store.keys.end()) return kSettingsNotFound;
        auto value = key->second.find(name);
        if (value == key->second.end()) return kSettingsNotFound;
        return copyValueOut(value->second.type, value->second.bytes, type, data, size);
    }

    long setValue(const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        if (!forWriting) return kSettingsAccessDenied;
        if (!name || (!data && size)) return kSettingsInvalidParameter;
        std::lock_guard<std::mutex> lock(store.mutex);
        if (!store.writable) return kSettingsAccessDenied;
        auto& value = store.keys[path][name];
        value.type = type;
        const auto* bytes = static_cast<const unsigned char*>(data);
        value.bytes.assign(bytes, bytes + size);
        ++store.writes;
        return kSettingsOk;
    }

private:
    MemorySettingsStore& store;
    std::string path;
    bool forWriting;
};

std::unique_ptr<SettingsKey> MemorySettingsStore::openKey(const char* path, long* status) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!path || keys.find(path) == keys.end()) {
        if (status) *status = kSettingsNotFound;
        return nullptr;
    }
    if (status) *status = kSettingsOk;
    return std::make_unique<MemorySettingsKey>(*this, path, false);
}

std::unique_ptr<SettingsKey> MemorySettingsStore::createKey(const char* path, long* status) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!path) {
        if (status) *status = kSettingsInvalidParameter;
        return nullptr;
    }
    if (keys.find(path) == keys.end()) {
        if (!writable) {
            if (status) *status = kSettingsAccessDenied;
            return nullptr;
        }
        keys[path];
    }
    if (status) *status = kSettingsOk;
    return std::make_unique<MemorySettingsKey>(*this, path, true);
}

void MemorySettingsStore::clear() {
    std::lock_guard<std::mutex> lock(mutex);
    keys.clear();
    writable = true;
    writes = 0;
}

void MemorySettingsStore::setWritable(bool on) {
    std::lock_guard<std::mutex> lock(mutex);
    writable = on;
}

int MemorySettingsStore::writeCount() const {
    std::lock_guard<std::mutex> lock(mutex);
    return writes;
}

bool MemorySettingsStore::hasKey(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex);
    return keys.count(path) != 0;
}

bool MemorySettingsStore::getValue(const std::string& path, const std::string& name,
                                   Value& out) const {
    std::lock_guard<std::mutex> lock(mutex);
    auto key = keys.find(path);
    if (key == keys.end()) return false;
    auto value = key->second.find(name);
    if (value == key->second.end()) return false;
    out = value->second;
    return true;
}

void MemorySettingsStore::putValue(const std::string& path, const std::string& name,
                                   std::uint32_t type, const void* data, std::uint32_t size) {
    std::lock_guard<std::mutex> lock(mutex);
    auto& value = keys[path][name];
    value.type = type;
    const auto* bytes = static_cast<const unsigned char*>(data);
    value.bytes.assign(bytes, bytes + size);
}

void MemorySettingsStore::eraseValue(const std::string& path, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex);
    auto key = keys.find(path);
    if (key != keys.end()) key->second.erase(name);
}

MemorySettingsStore& memorySettingsStore() {
    static MemorySettingsStore store;
    return store;
}

}  // namespace platform::headless
