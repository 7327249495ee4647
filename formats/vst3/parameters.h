// The parameters as VST 3 hosts see them: the five controls of the shared
// table under their VST 2.x indices, the bypass, the program change over the
// 33 bank slots, the read-only gain-reduction meter, then the instance's
// settings (Oversampling, Mix, Sidechain Filter, Key). Every one is a grid
// of steps: normalised = step / steps, and a value between two steps counts
// as the step whose share it falls in, as hosts read discrete parameters.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "formats/vst3/abi/controller.h"
#include "core/controls.h"

namespace vst3::params {

enum class Kind { control, bypass, program, gainReduction };

struct Parameter {
    ParamID id;
    Kind kind;
    const controls::Control* control;  // only for Kind::control
};

inline constexpr int32 kCount = controls::kCount + 3;
inline constexpr int kProgramSteps = 32;  // the 33 slots of the bank

// In the order hosts list them; null for an index or ID that is none of ours.
const Parameter* byIndex(int32 index);
const Parameter* byId(ParamID id);
// The index hosts list an ID under, -1 for none.
int32 indexOf(ParamID id);

// 0 for the continuous meter.
int steps(const Parameter& parameter);
// The step of a normalised value: clamped to the grid, NaN as step 0.
int stepOf(int steps, double normalised);
double normalisedOf(int steps, int step);

// Fills the host's record; false for an index that is none.
bool describe(int32 index, ParameterInfo& info);

// The program names as the bank holds them now, by slot.
using ProgramName = std::function<std::string(int slot)>;

// The display text: a control's VST 2.x text, "On"/"Off", the program's name,
// the reduction in dB.
std::string textOf(const Parameter& parameter, double normalised, const ProgramName& names);
// Reads a text back (a control's number between steps lands on the nearest);
// none when it cannot be read.
std::optional<double> valueOfText(const Parameter& parameter, std::string_view text,
                                  const ProgramName& names);

// Plain values are the controls' real units, the slot number, 0/1 and dB.
double toPlain(const Parameter& parameter, double normalised);
double toNormalised(const Parameter& parameter, double plain);

// The meter's normalised value for the engine's meter reading.
double gainReductionValue(double meterReading);

}  // namespace vst3::params
