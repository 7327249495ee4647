// The LV2 tests' side of the comparison with the VST 2.x plug-in.
#pragma once

#include "formats/lv2/ports.h"
#include "lv2TestHost.h"
#include "tests/formats/vstReference.h"

void applyToLv2(Lv2TestInstance& lv2, const PortSettings& settings);
