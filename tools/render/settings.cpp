#include "settings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/controls.h"
#include "toolError.h"

namespace render {

namespace {

// Grid for the display search: fine enough that every step of a stepped
// parameter spans many points (Compression has 41 steps, Output 61).
constexpr int kGridPoints = 8192;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<double> number(const std::string& text) {
    const std::string t = trim(text);
    if (t.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size()) return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(const std::string& text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), ::isdigit)) return std::nullopt;
    if (text.size() > 6) return std::nullopt;
    return std::stoi(text);
}

bool displayMatches(const std::string& shown, const std::string& wanted) {
    const auto a = number(shown), b = number(wanted);
    // Displays round: "6.50" is 6.5, and so is "6.5" as typed.
    if (a && b) return *a == *b || std::fabs(*a - *b) <= 1e-9 * std::max(1.0, std::fabs(*b));
    return lower(trim(shown)) == lower(trim(wanted));
}

std::string display(Effect& effect, int index, double value) {
    effect.setParameter(index, static_cast<float>(value));
    return effect.parameterDisplay(index);
}

std::string describeSteps(Effect& effect, int index) {
    const std::vector<std::string> steps = displaySteps(effect, index, 13);
    if (steps.empty()) return "";
    if (steps.size() <= 12) {
        std::string all;
        for (const auto& s : steps) all += (all.empty() ? "" : ", ") + s;
        return " (it shows " + all + ")";
    }
    return " (it shows " + steps.front() + " to " + displayAt(effect, index, 1.0f) + ")";
}

// For a parameter with more display values than grid points: the numbers
// shown rise or fall with the value, so halve the bracket around the target.
std::optional<double> bisect(Effect& effect, int index, double wanted) {
    double lo = 0.0, hi = 1.0;
    const auto atLo = number(display(effect, index, lo)), atHi = number(display(effect, index, hi));
    if (!atLo || !atHi || *atLo == *atHi) return std::nullopt;
    const bool rising = *atHi > *atLo;
    if ((wanted - *atLo) * (wanted - *atHi) > 0.0) return std::nullopt;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        const std::string shown = display(effect, index, mid);
        if (displayMatches(shown, std::to_string(wanted))) return mid;
        const auto n = number(shown);
        if (!n) return std::nullopt;
        if ((*n < wanted) == rising)
            lo = mid;
        else
            hi = mid;
    }
    return std::nullopt;
}

}  // namespace

std::string displayAt(Effect& effect, int index, float value) {
    const float saved = effect.getParameter(index);
    const std::string shown = display(effect, index, value);
    effect.setParameter(index, saved);
    return shown;
}

std::vector<std::string> displaySteps(Effect& effect, int index, size_t limit) {
    const float saved = effect.getParameter(index);
    std::vector<std::string> steps;
    const int points = 1024;
    for (int i = 0; i <= points && steps.size() < limit; ++i) {
        const std::string shown = display(effect, index, static_cast<double>(i) / points);
        if (steps.empty() || steps.back() != shown) steps.push_back(shown);
    }
    effect.setParameter(index, saved);
    return steps;
}

int findParameter(Effect& effect, const std::string& name) {
    if (const std::optional<int> control = effect.controlParameter(name)) return *control;
    const std::string wanted = lower(trim(name));
    std::string known;
    for (int i = 0; i < effect.numParams(); ++i) {
        const std::string candidate = effect.parameterName(i);
        if (candidate.empty()) continue;
        if (lower(candidate) == wanted) return i;
        known += (known.empty() ? "" : ", ") + candidate;
    }
    throw UsageError(effect.identity().displayName() + " has no parameter named \"" + name +
                     "\" (it has " + known + ")");
}

float findValueForDisplay(Effect& effect, int index, const std::string& text) {
    // Korvane Brassel's texts land exactly on the value its knob gives for
    // that step, so a render sounds as the plug-in does in a host.
    if (const controls::Control* control = effect.isKorvaneBrassel() ? controls::byParameter(index) : nullptr) {
        const std::optional<int> step = controls::stepOfText(*control, text);
        if (!step)
            throw UsageError("no value of " + effect.parameterName(index) + " shows \"" + text + "\"" +
                             describeSteps(effect, index));
        const float value = controls::normalisedOfStep(*control, *step);
        effect.setParameter(index, value);
        return value;
    }
    // Any other plug-in: the first run of grid points that show the text.
    int first = -1, last = -1;
    for (int i = 0; i <= kGridPoints; ++i) {
        const bool match = displayMatches(display(effect, index, static_cast<double>(i) / kGridPoints), text);
        if (match && first < 0) first = i;
        if (match) last = i;
        if (!match && first >= 0) break;
    }
    double value = -1.0;
    if (first >= 0) {
        value = 0.5 * (first + last) / kGridPoints;
    } else if (const auto wanted = number(text)) {
        if (const auto found = bisect(effect, index, *wanted)) value = *found;
    }
    if (value < 0.0) {
        const std::string steps = describeSteps(effect, index);
        throw UsageError("no value of " + effect.parameterName(index) + " shows \"" + text + "\"" + steps);
    }
    effect.setParameter(index, static_cast<float>(value));
    return static_cast<float>(value);
}

AppliedSetting applySetting(Effect& effect, const std::string& assignment) {
    const auto equals = assignment.find('=');
    const std::string left = trim(assignment.substr(0, equals));
    const std::string right = assignment.substr(equals + 1);
    AppliedSetting applied;
    if (const auto index = wholeNumber(left)) {
        if (*index >= effect.numParams()) {
            throw UsageError("parameter " + left + " does not exist (" +
                             effect.identity().displayName() + " has 0 to " +
                             std::to_string(effect.numParams() - 1) + ")");
        }
        applied.index = *index;
        const auto value = number(right);
        if (value) {
            if (!(*value >= 0.0 && *value <= 1.0))
                throw UsageError("--set " + assignment + ": a parameter value is between 0 and 1");
            applied.value = static_cast<float>(*value);
            effect.setParameter(applied.index, applied.value);
            return applied;
        }
        // A number with a display text: "--set 2=4:1" means what it says.
        applied.value = findValueForDisplay(effect, applied.index, right);
        return applied;
    }
    applied.index = findParameter(effect, left);
    applied.value = findValueForDisplay(effect, applied.index, right);
    return applied;
}

}  // namespace render

namespace render {

std::string applyCommandLineSettings(const Options& options, Effect& effect,
                                     const std::optional<ProgramValues>& fallback,
                                     std::vector<int>& changed) {
    std::string name;
    std::optional<ProgramValues> program = chooseProgram(options);
    if (!program) program = fallback;
    if (program) {
        if (!effect.isKorvaneBrassel()) {
            throw UsageError("presets belong to Korvane Brassel; " + effect.identity().displayName() +
                             " cannot take them");
        }
        applyProgram(effect, *program);
        name = program->name;
        // As a host loading a preset does: the effect's program takes its name.
        effect.setProgramName(name);
        for (int i = 0; i < kKvbrParameters; ++i) changed.push_back(i);
    }
    for (const std::string& set : options.sets) changed.push_back(applySetting(effect, set).index);
    return name;
}

}  // namespace render
