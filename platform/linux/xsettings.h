// The XSETTINGS protocol's settings blob, as a settings manager (the desktop)
// publishes it in the _XSETTINGS_SETTINGS property of its selection owner.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace platform::linux_backend {

// The integer setting `name` from the blob, or nothing when the blob is
// malformed or holds no such integer.
std::optional<int> findXSettingsInteger(const unsigned char* data, std::size_t size,
                                        std::string_view name);

}  // namespace platform::linux_backend
