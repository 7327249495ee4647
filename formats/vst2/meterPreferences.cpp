// The four meter preferences: read at construction, created with their
// defaults where missing. No behaviour depends on them yet; they are kept per
// machine for the meter.
#include "AutoComp.h"
#include "core/preferenceStore.h"

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

float getPreference(const char* name, float defaultValue) {
    const float v = readPreference(name, kAbsent);
    if (static_cast<double>(v) == static_cast<double>(kAbsent)) {
        writePreference(name, defaultValue);
        return defaultValue;
    }
    return v;
}

}  // namespace

void AutoComp::loadMeterPreferences() {
    vuReference = loadPreference("VUreference", -14.0);
    vuTimeConst = loadPreference("VUtimeConst", 0.6);
    ppmRelease = loadPreference("PPMrelease", 0.6);
    ppmHold = loadPreference("PPMhold", 1.0);
}

float AutoComp::getVUreference() { return getPreference("VUreference", -14.0f); }
float AutoComp::getVUtimeConst() { return getPreference("VUtimeConst", 0.6f); }
float AutoComp::getPPMrelease() { return getPreference("PPMrelease", 0.6f); }
float AutoComp::getPPMhold() { return getPreference("PPMhold", 1.0f); }
void AutoComp::setVUreference(float value) { writePreference("VUreference", value); }
void AutoComp::setVUtimeConst(float value) { writePreference("VUtimeConst", value); }
void AutoComp::setPPMrelease(float value) { writePreference("PPMrelease", value); }
void AutoComp::setPPMhold(float value) { writePreference("PPMhold", value); }
