// The private request through which an offline host reads the meter reading
// of a loaded instance without linking anything of the plug-in: the
// dispatcher's effVendorSpecific with index kMeterRequestIndex, value
// kMeterRequestValue and ptr pointing at a double. The plug-in stores the
// reading there (1.0 = no gain reduction, smaller = more) and answers 1;
// any other index/value pair, or a null ptr, answers 0 and writes nothing.
#pragma once

#include "aeffect.h"

namespace kvbr {

constexpr vst2::int32 kMeterRequestIndex = vst2::fourCharCode('K', 'v', 'B', 'r');
constexpr vst2::intptr kMeterRequestValue = vst2::fourCharCode('M', 't', 'r', 'R');

}  // namespace kvbr
