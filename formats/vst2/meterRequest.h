// The private requests between the plug-in and VST 2.x hosts that know it,
// through the dispatcher's effVendorSpecific:
// - the meter reading, for an offline host that reads it without linking
//   anything of the plug-in: index kMeterRequestIndex, value
//   kMeterRequestValue and ptr pointing at a double. The plug-in stores the
//   reading there (1.0 = no gain reduction, smaller = more) and answers 1;
//   any other index/value pair, or a null ptr, answers 0 and writes nothing.
// - the host's factor for the editor's scale: index kHostScaleIndex, value
//   kHostScaleValue, the factor in the float argument (0 withdraws it).
#pragma once

#include "aeffect.h"

namespace kvbr {

constexpr vst2::int32 kMeterRequestIndex = vst2::fourCharCode('K', 'v', 'B', 'r');
constexpr vst2::intptr kMeterRequestValue = vst2::fourCharCode('M', 't', 'r', 'R');
constexpr vst2::int32 kHostScaleIndex = vst2::fourCharCode('P', 'r', 'e', 'S');
constexpr vst2::intptr kHostScaleValue = vst2::fourCharCode('A', 'e', 'C', 's');

}  // namespace kvbr
