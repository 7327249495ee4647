// The twelve parameters: clamping, the engine quantities derived from them,
// and the names and display texts hosts show.
#include <cmath>
#include <cstring>

#include "AutoComp.h"
#include "editor/ADEditor.h"
#include "core/parameterTexts.h"

namespace {

constexpr const char* kParameterNames[kNumParams] = {
    "Process", " ", "Ratio", " ", "Time", "Compression", "Output", " ", " ", " ", " ", " "};
constexpr const char* kRatioTexts[7] = {"1.2:1", "1.5:1", "2:1", "3:1", "4:1", "6:1", "10:1"};
// Parameter texts are short; hosts give more than the nominal 8 bytes and
// "Compression" needs 12.
constexpr int kParameterTextRoom = 16;

bool isParameterIndex(int32 index) { return index >= 0 && index < kNumParams; }

int32 truncateToInt(double x) { return static_cast<int32>(x); }

}  // namespace

void AutoComp::setParameter(int32 index, float value) {
    if (!isParameterIndex(index)) return;
    setEngineParameter(index, value);
    if (auto* view = static_cast<ADEditor*>(getEditor())) view->setParameter(index, getParameter(index));
}

void AutoComp::setEngineParameter(int32 index, float value) {
    if (!isParameterIndex(index)) return;
    // A NaN would reach the engine and poison its filters for good.
    if (std::isnan(value)) value = 0.0f;
    if (static_cast<double>(value) < 0.0)
        value = 0.0f;
    else if (static_cast<double>(value) > 1.0)
        value = 1.0f;
    params[index].store(value, std::memory_order_relaxed);

    const double v = value;
    switch (index) {
        case 0: processMode.store(truncateToInt(2.0 * v + 0.5), std::memory_order_relaxed); break;
        case 2: ratioStep.store(truncateToInt(6.0 * v + 0.5), std::memory_order_relaxed); break;
        case 4: timeFactor.store(0.005 * std::pow(100.0, v), std::memory_order_relaxed); break;
        case 5: {
            // 0.7071 is a tuning constant of the control's taper, not sqrt(0.5).
            const int32 k = truncateToInt(40.0 * std::pow(v, 0.7071) + 0.5);
            compressionGain.store(0.125 * std::pow(1024.0, k / 40.0), std::memory_order_relaxed);
            break;
        }
        case 6: {
            const int32 k = truncateToInt(60.0 * v + 0.5);
            outputGain.store(std::pow(31.622776601683793, k / 60.0), std::memory_order_relaxed);
            break;
        }
        default: break;
    }
    // Into the selected preset and slot 0.
    CPresetSystemEffect::setParameter(index, value);
}

float AutoComp::getParameter(int32 index) {
    return isParameterIndex(index) ? params[index].load(std::memory_order_relaxed) : 0.0f;
}

void AutoComp::getParameterName(int32 index, char* text) {
    vst2::copyString(text, isParameterIndex(index) ? kParameterNames[index] : " ",
                     kParameterTextRoom);
}

void AutoComp::getParameterLabel(int32, char* label) {
    vst2::copyString(label, " ", kParameterTextRoom);
}

void AutoComp::getParameterDisplay(int32 index, char* text) {
    const double v = isParameterIndex(index) ? params[index].load(std::memory_order_relaxed) : 0.0;
    std::string display = " ";
    switch (index) {
        case 0: {
            const int32 mode = processMode.load(std::memory_order_relaxed);
            display = mode == 2 ? "Valve" : mode == 1 ? "Clear" : "Off";
            break;
        }
        case 2: {
            const int32 step = ratioStep.load(std::memory_order_relaxed);
            if (step >= 0 && step <= 6) display = kRatioTexts[step];
            break;
        }
        case 4: display = formatFixed2(static_cast<float>(truncateToInt(20.0 * v + 0.5) / 2.0)); break;
        case 5: display = formatFixed2(static_cast<float>(truncateToInt(40.0 * v + 0.5) / 4.0)); break;
        case 6: display = formatFixed2(static_cast<float>(truncateToInt(60.0 * v + 0.5) / 2.0)); break;
        default: break;
    }
    vst2::copyString(text, display.c_str(), kParameterTextRoom);
}
