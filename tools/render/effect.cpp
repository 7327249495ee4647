#include "effect.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "builtInEffect.h"
#include "pluginHost.h"

namespace render {

std::string PluginIdentity::uniqueIDText() const {
    std::string code;
    bool printable = true;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<std::uint32_t>(uniqueID) >> shift) & 0xFF);
        printable = printable && std::isprint(static_cast<unsigned char>(c));
        code += c;
    }
    if (printable) return code;
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<unsigned>(uniqueID));
    return hex;
}

std::string PluginIdentity::displayName() const {
    if (!effectName.empty()) return effectName;
    if (!productName.empty()) return productName;
    return std::filesystem::path(path).filename().string();
}

std::unique_ptr<Effect> openEffect(const std::optional<std::string>& pluginPath) {
    if (pluginPath) return std::make_unique<PluginHost>(*pluginPath);
    return std::make_unique<BuiltInEffect>();
}

}  // namespace render
