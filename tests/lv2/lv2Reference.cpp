#include "lv2Reference.h"

void applyToLv2(Lv2TestInstance& lv2, const PortSettings& settings) {
    for (int c = 0; c < controls::kCount; ++c)
        lv2.set(controls::kControls[c].symbol, settings.value(c));
}
