// Direct registry access for the tests: what the store wrote, as Windows sees it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace registry {

struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

inline RawValue read(const char* path, const char* name) {
    RawValue v;
    HKEY key = nullptr;
    v.status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key);
    if (v.status != ERROR_SUCCESS) return v;
    DWORD size = 0;
    v.status = RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size);
    if (v.status == ERROR_SUCCESS) {
        v.bytes.resize(size);
        v.status = RegQueryValueExA(key, name, nullptr, &v.type, v.bytes.data(), &size);
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

inline LONG write(const char* path, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status;
}

// Removes a key with everything below it; a missing key is no error.
inline void removeTree(const char* path) { RegDeleteTreeA(HKEY_LOCAL_MACHINE, path); }

}  // namespace registry
