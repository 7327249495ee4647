#include "parameters.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "identity.h"
#include "core/parameterTexts.h"
#include "text16.h"

namespace vst3::params {

namespace {

constexpr Parameter kParameters[] = {
    {0, Kind::control, &controls::kControls[0]},
    {2, Kind::control, &controls::kControls[1]},
    {4, Kind::control, &controls::kControls[2]},
    {5, Kind::control, &controls::kControls[3]},
    {6, Kind::control, &controls::kControls[4]},
    {vst3id::kBypassId, Kind::bypass, nullptr},
    {vst3id::kProgramId, Kind::program, nullptr},
    {vst3id::kGainReductionId, Kind::gainReduction, nullptr},
    // Settings added later, after every parameter hosts already list.
    {vst3id::kOversamplingId, Kind::control, &controls::kControls[5]},
    {vst3id::kMixId, Kind::control, &controls::kControls[6]},
    {vst3id::kSidechainFilterId, Kind::control, &controls::kControls[7]},
    {vst3id::kKeyId, Kind::control, &controls::kControls[8]},
};

// Every control of the table listed once, under its own host ID: a control
// the table gains without a row here would be no parameter to the host, and
// the controller's values are indexed by this table.
constexpr bool listsEveryControl() {
    for (const controls::Control& control : controls::kControls) {
        int rows = 0;
        for (const Parameter& parameter : kParameters)
            // By kind and id, not by address: a sanitized build cannot compare
            // a global's address with null in a constant expression.
            if (parameter.kind == Kind::control && parameter.control->id == control.id &&
                parameter.id == control.hostId)
                ++rows;
        if (rows != 1) return false;
    }
    return true;
}
static_assert(std::size(kParameters) == kCount && listsEveryControl());

std::string lowered(std::string_view text) {
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

std::optional<double> numberIn(std::string_view text) {
    const std::string copy(text.substr(0, 64));
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str() || std::isnan(value)) return std::nullopt;
    while (*end && std::isspace(static_cast<unsigned char>(*end))) ++end;
    // A unit after the number is fine ("12 dB").
    if (*end && lowered(end) != "db") return std::nullopt;
    return value;
}

double clamped(double value) { return value < 0.0 ? 0.0 : value > 1.0 ? 1.0 : value; }

}  // namespace

const Parameter* byIndex(int32 index) {
    return index >= 0 && index < kCount ? &kParameters[index] : nullptr;
}

const Parameter* byId(ParamID id) {
    for (const Parameter& parameter : kParameters)
        if (parameter.id == id) return &parameter;
    return nullptr;
}

int32 indexOf(ParamID id) {
    const Parameter* parameter = byId(id);
    return parameter ? static_cast<int32>(parameter - kParameters) : -1;
}

int steps(const Parameter& parameter) {
    switch (parameter.kind) {
        case Kind::control: return parameter.control->steps;
        case Kind::bypass: return 1;
        case Kind::program: return kProgramSteps;
        case Kind::gainReduction: return 0;
    }
    return 0;
}

int stepOf(int steps, double normalised) {
    if (!(normalised > 0.0)) return 0;
    if (normalised >= 1.0) return steps;
    const int step = static_cast<int>(std::floor(normalised * (steps + 1)));
    return step > steps ? steps : step;
}

double normalisedOf(int steps, int step) {
    return steps > 0 ? static_cast<double>(step) / steps : 0.0;
}

bool describe(int32 index, ParameterInfo& info) {
    const Parameter* parameter = byIndex(index);
    if (!parameter) return false;
    info.id = parameter->id;
    info.stepCount = steps(*parameter);
    info.unitId = kRootUnitId;
    const char* title = "";
    const char* units = "";
    switch (parameter->kind) {
        case Kind::control: {
            const controls::Control& control = *parameter->control;
            title = control.name;
            units = control.decibels ? "dB" : "";
            info.defaultNormalizedValue =
                normalisedOf(control.steps, controls::stepOf(control, control.defaultValue));
            info.flags = ParameterInfo::kCanAutomate | (control.enumeration ? ParameterInfo::kIsList : 0);
            break;
        }
        case Kind::bypass:
            title = "Bypass";
            info.defaultNormalizedValue = 0.0;
            info.flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass;
            break;
        case Kind::program:
            title = "Program";
            info.defaultNormalizedValue = 0.0;
            info.flags = ParameterInfo::kIsProgramChange | ParameterInfo::kIsList;
            break;
        case Kind::gainReduction:
            title = "Gain Reduction";
            units = "dB";
            info.defaultNormalizedValue = 0.0;
            info.flags = ParameterInfo::kIsReadOnly;
            break;
    }
    putText(info.title, title);
    putText(info.shortTitle, title);
    putText(info.units, units);
    return true;
}

std::string textOf(const Parameter& parameter, double normalised, const ProgramName& names) {
    const int step = stepOf(steps(parameter), normalised);
    switch (parameter.kind) {
        case Kind::control: return controls::textOfStep(*parameter.control, step);
        case Kind::bypass: return step ? "On" : "Off";
        case Kind::program: return names(step);
        case Kind::gainReduction:
            return formatFixed2(static_cast<float>(toPlain(parameter, normalised)));
    }
    return {};
}

std::optional<double> valueOfText(const Parameter& parameter, std::string_view text,
                                  const ProgramName& names) {
    const int n = steps(parameter);
    switch (parameter.kind) {
        case Kind::control: {
            const auto step = controls::stepOfText(*parameter.control, text, controls::TextMatch::nearest);
            if (!step) return std::nullopt;
            return normalisedOf(n, *step);
        }
        case Kind::bypass: {
            const std::string word = lowered(text);
            if (word == "on" || word == "1") return 1.0;
            if (word == "off" || word == "0") return 0.0;
            return std::nullopt;
        }
        case Kind::program: {
            for (int slot = 0; slot <= n; ++slot)
                if (names(slot) == text) return normalisedOf(n, slot);
            return std::nullopt;
        }
        case Kind::gainReduction: {
            const std::optional<double> db = numberIn(text);
            if (!db) return std::nullopt;
            return toNormalised(parameter, *db);
        }
    }
    return std::nullopt;
}

double toPlain(const Parameter& parameter, double normalised) {
    if (parameter.kind == Kind::gainReduction)
        return clamped(std::isnan(normalised) ? 0.0 : normalised) * controls::kGainReductionMaximum;
    const int step = stepOf(steps(parameter), normalised);
    if (parameter.kind == Kind::control) return controls::valueOfStep(*parameter.control, step);
    return step;
}

double toNormalised(const Parameter& parameter, double plain) {
    if (std::isnan(plain)) plain = 0.0;
    const int n = steps(parameter);
    switch (parameter.kind) {
        case Kind::control:
            return normalisedOf(n, controls::stepOf(*parameter.control, plain));
        case Kind::bypass:
        case Kind::program: {
            const double step = std::floor(plain + 0.5);
            return normalisedOf(n, step < 0.0 ? 0 : step > n ? n : static_cast<int>(step));
        }
        case Kind::gainReduction: return clamped(plain / controls::kGainReductionMaximum);
    }
    return 0.0;
}

double gainReductionValue(double meterReading) {
    return clamped(static_cast<double>(controls::gainReductionDb(meterReading)) /
                   controls::kGainReductionMaximum);
}

}  // namespace vst3::params
