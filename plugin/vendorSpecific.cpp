// The one private request the effect answers: its meter reading, for offline
// hosts that report gain reduction (kvbr-render).
#include "AutoComp.h"
#include "meterRequest.h"

intptr AutoComp::vendorSpecific(int32 index, intptr value, void* ptr, float) {
    if (index != kvbr::kMeterRequestIndex || value != kvbr::kMeterRequestValue || !ptr) return 0;
    *static_cast<double*>(ptr) = getMeterReading();
    return 1;
}
