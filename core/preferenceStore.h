// The two primitives over the settings store that the meter preferences use.
#pragma once

// The key shared by the product's stored settings.
constexpr const char* kSettingsKeyBase = "SOFTWARE\\Korvane\\KVBRS1";

// Returns the named 4-byte float under ...\Preferences, or the fallback when
// the key or the value is missing or not exactly 4 bytes.
float readPreference(const char* name, float fallback);
// Stores the float's 4 bytes as a binary value; failures are silent.
void writePreference(const char* name, float value);
