// The bundle's Turtle files, written from the port table and the factory
// bank so that the description can never drift from the code.
#pragma once

#include <string>

namespace lv2ttl {

std::string manifest(const std::string& dspBinary, const std::string& uiBinary);
std::string pluginDescription();
std::string presets();

}  // namespace lv2ttl
