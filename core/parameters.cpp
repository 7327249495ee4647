#include "parameters.h"

#include <cmath>
#include <cstring>

#include "parameterTexts.h"

namespace {

constexpr const char* kParameterNames[kNumParams] = {
    "Process", " ", "Ratio", " ", "Time", "Compression", "Output", " ", " ", " ", " ", " ",
    "Oversampling", "Mix", "Sidechain Filter", "Key", "Editor Strip"};
constexpr const char* kOversamplingTexts[3] = {"Off", "2x", "4x"};
constexpr const char* kSidechainFilterTexts[5] = {"Off", "60 Hz", "90 Hz", "150 Hz", "250 Hz"};
constexpr const char* kKeyTexts[2] = {"Internal", "External"};
constexpr const char* kRatioTexts[7] = {"1.2:1", "1.5:1", "2:1", "3:1", "4:1", "6:1", "10:1"};

std::int32_t truncateToInt(double x) { return static_cast<std::int32_t>(x); }

std::uint64_t pack(float value, std::uint32_t changes) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return static_cast<std::uint64_t>(changes) << 32 | bits;
}

Parameters::Reading unpack(std::uint64_t packed) {
    const auto bits = static_cast<std::uint32_t>(packed);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return {value, static_cast<std::uint32_t>(packed >> 32)};
}

}  // namespace

Parameters::Parameters() {
    for (auto& target : targets) target.store(pack(0.0f, 0), std::memory_order_relaxed);
    // Mix starts fully compressed; every other setting's default is 0.
    targets[kMixParameter].store(pack(1.0f, 0), std::memory_order_relaxed);
}

std::uint32_t Parameters::set(int index, float value) {
    if (!isIndex(index)) return 0;
    // A NaN would reach the engine and poison its filters for good.
    if (std::isnan(value)) value = 0.0f;
    if (static_cast<double>(value) < 0.0)
        value = 0.0f;
    else if (static_cast<double>(value) > 1.0)
        value = 1.0f;
    std::atomic<std::uint64_t>& target = targets[index];
    std::uint64_t was = target.load(std::memory_order_relaxed);
    std::uint64_t now;
    do {
        now = pack(value, unpack(was).changes + 1);
    } while (!target.compare_exchange_weak(was, now, std::memory_order_release,
                                           std::memory_order_relaxed));
    return unpack(now).changes;
}

float Parameters::get(int index) const { return isIndex(index) ? read(index).value : 0.0f; }

Parameters::Reading Parameters::read(int index) const {
    if (!isIndex(index)) return {0.0f, 0};
    return unpack(targets[index].load(std::memory_order_acquire));
}

const char* Parameters::name(int index) { return isIndex(index) ? kParameterNames[index] : " "; }

std::string Parameters::display(int index) const { return displayOf(index, get(index)); }

std::string Parameters::displayOf(int index, float value) {
    EngineValues derived;
    derive(index, value, derived);
    const double v = value;
    switch (index) {
        case 0: return derived.processMode == 2 ? "Valve" : derived.processMode == 1 ? "Clear" : "Off";
        case 2:
            return derived.ratioStep >= 0 && derived.ratioStep <= 6 ? kRatioTexts[derived.ratioStep] : " ";
        case 4: return formatFixed2(static_cast<float>(truncateToInt(20.0 * v + 0.5) / 2.0));
        case 5: return formatFixed2(static_cast<float>(truncateToInt(40.0 * v + 0.5) / 4.0));
        case 6: return formatFixed2(static_cast<float>(truncateToInt(60.0 * v + 0.5) / 2.0));
        case kOversamplingParameter: return kOversamplingTexts[derived.oversampling];
        case kMixParameter: return std::to_string(truncateToInt(100.0 * v + 0.5)) + "%";
        case kSidechainFilterParameter: return kSidechainFilterTexts[derived.sidechainFilter];
        case kKeyParameter: return kKeyTexts[derived.key];
        case kEditorStripParameter: return v >= 0.5 ? "Open" : "Closed";
        default: return " ";
    }
}

void Parameters::derive(int index, float value, EngineValues& values) {
    const double v = value;
    switch (index) {
        case 0: values.processMode = truncateToInt(2.0 * v + 0.5); break;
        case 2: values.ratioStep = truncateToInt(6.0 * v + 0.5); break;
        case 4: values.timeFactor = 0.005 * std::pow(100.0, v); break;
        case 5: {
            // 0.7071 is a tuning constant of the control's taper, not sqrt(0.5).
            const std::int32_t k = truncateToInt(40.0 * std::pow(v, 0.7071) + 0.5);
            values.compressionGain = 0.125 * std::pow(1024.0, k / 40.0);
            break;
        }
        case 6: {
            const std::int32_t k = truncateToInt(60.0 * v + 0.5);
            values.outputGain = std::pow(31.622776601683793, k / 60.0);
            break;
        }
        case kOversamplingParameter: values.oversampling = truncateToInt(2.0 * v + 0.5); break;
        case kMixParameter: values.mix = truncateToInt(100.0 * v + 0.5) / 100.0; break;
        case kSidechainFilterParameter: values.sidechainFilter = truncateToInt(4.0 * v + 0.5); break;
        case kKeyParameter: values.key = truncateToInt(v + 0.5); break;
        default: break;
    }
}

EngineValues Parameters::engineValues() const {
    EngineValues values;
    for (int index : kEngineParameters) derive(index, get(index), values);
    return values;
}

const EngineValues& DerivedValues::update(const Parameters& parameters) {
    for (std::size_t n = 0; n < kEngineParameters.size(); ++n) {
        const Parameters::Reading target = parameters.read(kEngineParameters[n]);
        if (derivedOnce && target.changes == derivedChanges[n]) continue;
        derivedChanges[n] = target.changes;
        Parameters::derive(kEngineParameters[n], target.value, values);
    }
    derivedOnce = true;
    return values;
}
