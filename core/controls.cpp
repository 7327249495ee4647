#include "controls.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "parameterTexts.h"

namespace controls {

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

const char* labelOf(const Control& control, int step) {
    if (control.id == Id::process) return kProcessLabels[static_cast<size_t>(step)];
    if (control.id == Id::ratio) return kRatioLabels[static_cast<size_t>(step)];
    if (control.id == Id::oversampling) return kOversamplingLabels[static_cast<size_t>(step)];
    if (control.id == Id::sidechainFilter) return kSidechainFilterLabels[static_cast<size_t>(step)];
    if (control.id == Id::key) return kKeyLabels[static_cast<size_t>(step)];
    return nullptr;
}

std::optional<double> numberIn(std::string_view text, std::string_view unit) {
    if (!unit.empty() && text.size() >= unit.size() && sameLetters(text.substr(text.size() - unit.size()), unit))
        text = trimmed(text.substr(0, text.size() - unit.size()));
    if (text.empty() || text.size() > 64) return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    // "inf", "nan" and overflows such as "1e999" are no value a control can take.
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

const Control* byParameter(int parameter) {
    for (const Control& control : kControls)
        if (control.parameter == parameter) return &control;
    return nullptr;
}

const Control* byHostId(std::uint32_t id) {
    for (const Control& control : kControls)
        if (control.hostId == id) return &control;
    return nullptr;
}

int stepOf(const Control& control, double value) {
    if (std::isnan(value)) value = control.defaultValue;
    if (value < control.minimum) value = control.minimum;
    if (value > control.maximum) value = control.maximum;
    const double scaled = (value - control.minimum) * control.steps /
                          (static_cast<double>(control.maximum) - control.minimum);
    const int step = static_cast<int>(std::floor(scaled + 0.5));
    return step < 0 ? 0 : step > control.steps ? control.steps : step;
}

float valueOfStep(const Control& control, int step) {
    return static_cast<float>(control.minimum +
                              (static_cast<double>(control.maximum) - control.minimum) * step /
                                  control.steps);
}

float normalisedOfStep(const Control& control, int step) {
    // The same division the editor's knob makes when it snaps to a frame.
    return static_cast<float>(step) / static_cast<float>(control.steps);
}

int stepOfNormalised(const Control& control, double normalised) {
    // The VST 2.x display texts truncate steps * value + 0.5.
    if (!(normalised > 0.0)) return 0;
    if (normalised > 1.0) return control.steps;
    return static_cast<int>(control.steps * normalised + 0.5);
}

std::string textOfStep(const Control& control, int step) {
    if (step < 0) step = 0;
    if (step > control.steps) step = control.steps;
    if (const char* label = labelOf(control, step)) return label;
    if (control.id == Id::mix) return std::to_string(step) + "%";
    return formatFixed2(valueOfStep(control, step));
}

std::optional<int> stepOfText(const Control& control, std::string_view text, TextMatch match) {
    text = trimmed(text);
    if (control.enumeration) {
        for (int step = 0; step <= control.steps; ++step)
            if (sameLetters(text, labelOf(control, step))) return step;
        // Ratio texts are also read without their ":1".
        if (control.id == Id::ratio && !text.empty())
            for (int step = 0; step <= control.steps; ++step) {
                const std::string_view label = labelOf(control, step);
                if (text == label.substr(0, label.size() - 2)) return step;
            }
        return std::nullopt;
    }
    const std::optional<double> number =
        numberIn(text, control.decibels ? "db" : control.id == Id::mix ? "%" : "");
    if (!number) return std::nullopt;
    const int step = stepOf(control, *number);
    if (match == TextMatch::exact &&
        std::fabs(static_cast<double>(valueOfStep(control, step)) - *number) > 1e-6)
        return std::nullopt;
    return step;
}

float gainReductionDb(double meterGain) {
    if (!(meterGain > 0.0)) return kGainReductionMaximum;
    const double db = -20.0 * std::log10(meterGain);
    // A reading at or above unity is no reduction; never a negative zero.
    return db > 0.0 ? static_cast<float>(db) : 0.0f;
}

double meterReadingOf(float decibels) {
    if (!std::isfinite(decibels) || decibels < 0.0f) decibels = 0.0f;
    return std::pow(10.0, -decibels / 20.0);
}

}  // namespace controls
