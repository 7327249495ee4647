// The four meter preferences, kept per machine in the settings store: read
// once per instance, created with their defaults where missing. No behaviour
// depends on them yet; they are kept for the meter.
#pragma once

struct MeterPreferenceValues {
    double vuReference = -14.0;
    double vuTimeConst = 0.6;
    double ppmRelease = 0.6;
    double ppmHold = 1.0;

    // Reads all four in this order, writing the default of any that is missing.
    static MeterPreferenceValues load();
    // One preference as a float, its default written when it is missing.
    static float read(const char* name, float defaultValue);
    static void write(const char* name, float value);
};
