// --list: who the plug-in is, its parameters with their display texts, and
// for Korvane Brassel the factory presets.
#pragma once

#include <cstdio>

#include "pluginHost.h"

namespace render {

void printListing(PluginHost& host, std::FILE* out);

}  // namespace render
