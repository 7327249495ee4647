// The vendor-specific requests the effect answers: its meter reading, for
// offline hosts that report gain reduction (kvbr-render), and the host's
// factor for the editor's scale.
#include "AutoComp.h"
#include "editor/ADEditor.h"
#include "meterRequest.h"

intptr AutoComp::vendorSpecific(int32 index, intptr value, void* ptr, float opt) {
    if (index == kvbr::kHostScaleIndex && value == kvbr::kHostScaleValue) {
        // Taken for the next opening; an open editor keeps its size.
        if (ADEditor* editor = view()) editor->setHostScale(opt);
        return 1;
    }
    if (index != kvbr::kMeterRequestIndex || value != kvbr::kMeterRequestValue || !ptr) return 0;
    *static_cast<double*>(ptr) = getMeterReading();
    return 1;
}
