#include "ports.h"

#include <cmath>

namespace lv2ports {

const char* audioSymbol(const Layout& layout, int port) {
    static constexpr const char* kStereo[] = {"in_l", "in_r", "out_l", "out_r"};
    static constexpr const char* kMono[] = {"in", "out"};
    if (port < 0 || port >= layout.firstControl()) return nullptr;
    return layout.audioInputs == 2 ? kStereo[port] : kMono[port];
}

int stepOf(const ControlPort& port, float value) {
    if (std::isnan(value)) value = port.defaultValue;
    if (value < port.minimum) value = port.minimum;
    if (value > port.maximum) value = port.maximum;
    const double scaled = (static_cast<double>(value) - port.minimum) * port.steps /
                          (static_cast<double>(port.maximum) - port.minimum);
    const int step = static_cast<int>(std::floor(scaled + 0.5));
    return step < 0 ? 0 : step > port.steps ? port.steps : step;
}

float valueOfStep(const ControlPort& port, int step) {
    return static_cast<float>(port.minimum + (static_cast<double>(port.maximum) - port.minimum) *
                                                 step / port.steps);
}

float normalisedOfStep(const ControlPort& port, int step) {
    // The same division the editor's knob makes when it snaps to a frame.
    return static_cast<float>(step) / static_cast<float>(port.steps);
}

int stepOfNormalised(const ControlPort& port, float normalised) {
    // The VST 2.x display texts truncate steps * value + 0.5.
    return static_cast<int>(port.steps * static_cast<double>(normalised) + 0.5);
}

float gainReductionDb(double meterGain) {
    if (!(meterGain > 0.0)) return kGainReductionMaximum;
    const double db = -20.0 * std::log10(meterGain);
    // A reading at or above unity is no reduction; never a negative zero.
    return db > 0.0 ? static_cast<float>(db) : 0.0f;
}

}  // namespace lv2ports
