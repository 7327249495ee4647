#include "clapValues.h"

#include <cmath>

namespace clapValues {

bool stepped(const controls::Control& control) {
    return control.enumeration ||
           static_cast<double>(control.maximum) - control.minimum == static_cast<double>(control.steps);
}

std::optional<int> stepOfPlain(const controls::Control& control, double value) {
    if (std::isnan(value)) return std::nullopt;
    if (!stepped(control)) return controls::stepOf(control, value);
    if (value <= control.minimum) return 0;
    if (value >= control.maximum) return control.steps;
    return static_cast<int>(value - control.minimum);
}

int shownStep(const Parameters& parameters, const controls::Control& control) {
    return controls::stepOfNormalised(control, parameters.get(control.parameter));
}

double shownPlain(const Parameters& parameters, const controls::Control& control) {
    return controls::valueOfStep(control, shownStep(parameters, control));
}

void applyStep(Parameters& parameters, const controls::Control& control, int step) {
    if (step == shownStep(parameters, control)) return;
    parameters.set(control.parameter, controls::normalisedOfStep(control, step));
}

}  // namespace clapValues
