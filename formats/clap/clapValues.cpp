#include "clapValues.h"

#include <cmath>

#include "formats/vst2/AutoComp.h"

namespace clapValues {

std::optional<int> stepOfPlain(const controls::Control& control, double value) {
    if (std::isnan(value)) return std::nullopt;
    if (!control.enumeration) return controls::stepOf(control, value);
    if (value <= control.minimum) return 0;
    if (value >= control.maximum) return control.steps;
    return static_cast<int>(value - control.minimum);
}

int shownStep(AutoComp& effect, const controls::Control& control) {
    return controls::stepOfNormalised(control, effect.getParameter(control.parameter));
}

double shownPlain(AutoComp& effect, const controls::Control& control) {
    return controls::valueOfStep(control, shownStep(effect, control));
}

bool applyStep(AutoComp& effect, const controls::Control& control, int step) {
    if (step == shownStep(effect, control)) return false;
    effect.setEngineParameter(control.parameter, controls::normalisedOfStep(control, step));
    return true;
}

}  // namespace clapValues
