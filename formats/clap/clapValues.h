// A CLAP host's plain parameter values against the controls' step grid
// (plugin/format/controls.h): what a value sent by the host selects, and the
// plain value the effect shows.
#pragma once

#include <optional>

#include "core/controls.h"

class AutoComp;

namespace clapValues {

// The step a host's value selects, or none for a value that is no number.
// Out-of-range values are clamped. Enumerated controls are stepped parameters
// in CLAP, whose values hosts truncate to integers, and so are they here; the
// others go to the nearest step.
std::optional<int> stepOfPlain(const controls::Control& control, double value);

// The step the effect's parameter shows now, and its plain value.
int shownStep(AutoComp& effect, const controls::Control& control);
double shownPlain(AutoComp& effect, const controls::Control& control);

// Audio or main thread: takes a step into the engine as the editor's knob
// would give it, unless the effect shows that step already (a program's own
// value between steps stays as the program has it). True if it changed.
bool applyStep(AutoComp& effect, const controls::Control& control, int step);

}  // namespace clapValues
