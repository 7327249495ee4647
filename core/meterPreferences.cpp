#include "meterPreferences.h"

#include "preferenceStore.h"

namespace {

constexpr float kAbsent = -1000.0f;

// Reads a preference; a missing one is written with its default, and the
// default is what the caller gets (as the exact double it asked for).
double loadPreference(const char* name, double defaultValue) {
    const double v = readPreference(name, kAbsent);
    if (v == static_cast<double>(kAbsent)) {
        writePreference(name, static_cast<float>(defaultValue));
        return defaultValue;
    }
    return v;
}

}  // namespace

MeterPreferenceValues MeterPreferenceValues::load() {
    MeterPreferenceValues loaded;
    loaded.vuReference = loadPreference("VUreference", -14.0);
    loaded.vuTimeConst = loadPreference("VUtimeConst", 0.6);
    loaded.ppmRelease = loadPreference("PPMrelease", 0.6);
    loaded.ppmHold = loadPreference("PPMhold", 1.0);
    return loaded;
}

float MeterPreferenceValues::read(const char* name, float defaultValue) {
    const float v = readPreference(name, kAbsent);
    if (static_cast<double>(v) == static_cast<double>(kAbsent)) {
        writePreference(name, defaultValue);
        return defaultValue;
    }
    return v;
}

void MeterPreferenceValues::write(const char* name, float value) { writePreference(name, value); }
