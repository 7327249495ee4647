// Hands a stored value to a reader the way the registry does: the type, the
// exact bytes, or "more data" with the real size when the room is too small.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "settingsStore.h"

namespace platform {

inline long copyValueOut(std::uint32_t storedType, const std::vector<unsigned char>& bytes,
                         std::uint32_t* type, void* data, std::uint32_t* size) {
    if (type) *type = storedType;
    const auto stored = static_cast<std::uint32_t>(bytes.size());
    if (stored > *size) {
        *size = stored;
        return kSettingsMoreData;
    }
    if (data && stored) std::memcpy(data, bytes.data(), stored);
    *size = stored;
    return kSettingsOk;
}

}  // namespace platform
