// --set: a parameter by number or by name, a value as a normalised number or
// as the text the plug-in shows for it.
#pragma once

#include <string>
#include <vector>

#include "effect.h"
#include "options.h"
#include "presetSource.h"

namespace render {

struct AppliedSetting {
    int index = 0;
    float value = 0.0f;
};

// Everything the command line sets, in order: the program it chooses (or
// `fallback` when it chooses none), then each --set. Presets are refused for
// any effect but Korvane Brassel. Answers the program's name and adds the
// indices it set to `changed`.
std::string applyCommandLineSettings(const Options& options, Effect& effect,
                                     const std::optional<ProgramValues>& fallback,
                                     std::vector<int>& changed);

// Applies one "INDEX=VALUE" or "NAME=DISPLAY" to the loaded effect; throws
// UsageError naming what does not exist or cannot be shown.
AppliedSetting applySetting(Effect& effect, const std::string& assignment);

// The parameter whose name is `name` (letter case ignored): for the built-in
// compressor any control of the core's table, whichever formats show it;
// throws UsageError.
int findParameter(Effect& effect, const std::string& name);

// The normalised value for which the parameter displays `text`: for Korvane
// Brassel the value its knob gives for that step (step / steps); for other
// plug-ins the middle of the range of values that show it, so that it lands
// on that step and not on an edge. Numbers compare as numbers ("6.5" finds
// "6.50"). Leaves the parameter at that value; throws UsageError when no value
// shows the text.
float findValueForDisplay(Effect& effect, int index, const std::string& text);

// What the parameter shows at `value`; the parameter keeps its value.
std::string displayAt(Effect& effect, int index, float value);

// The distinct display texts a parameter shows from 0 to 1, in order, up to
// `limit` of them (for messages and --list).
std::vector<std::string> displaySteps(Effect& effect, int index, size_t limit);

}  // namespace render
