// A CLAP host's plain parameter values against the controls' step grid
// (core/controls.h): what a value sent by the host selects, and the plain
// value a parameter shows.
#pragma once

#include <optional>

#include "core/controls.h"
#include "core/parameters.h"

namespace clapValues {

// Whether the control is a stepped parameter in CLAP: the choices, and the
// controls whose steps are whole units (Mix's 1 %), whose every value is an
// integer a host can type or step through.
bool stepped(const controls::Control& control);

// The step a host's value selects, or none for a value that is no number.
// Out-of-range values are clamped. Hosts truncate the values of stepped
// parameters to integers, and so does this; the others go to the nearest step.
std::optional<int> stepOfPlain(const controls::Control& control, double value);

// Any thread: the step the parameter shows now, and its plain value.
int shownStep(const Parameters& parameters, const controls::Control& control);
double shownPlain(const Parameters& parameters, const controls::Control& control);

// Any thread: sets the parameter to the step as the editor's knob would give
// it, unless it shows that step already (a program's own value between
// steps stays as the program has it).
void applyStep(Parameters& parameters, const controls::Control& control, int step);

}  // namespace clapValues
