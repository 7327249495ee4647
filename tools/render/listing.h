// --list: who the effect is, its parameters with their display texts, and
// for Korvane Brassel the factory presets.
#pragma once

#include <cstdio>

#include "effect.h"

namespace render {

void printListing(Effect& effect, std::FILE* out);

}  // namespace render
