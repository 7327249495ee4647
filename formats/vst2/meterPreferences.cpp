// The effect's meter preference accessors, over the core's store.
#include "AutoComp.h"

float AutoComp::getVUreference() { return MeterPreferences::read("VUreference", -14.0f); }
float AutoComp::getVUtimeConst() { return MeterPreferences::read("VUtimeConst", 0.6f); }
float AutoComp::getPPMrelease() { return MeterPreferences::read("PPMrelease", 0.6f); }
float AutoComp::getPPMhold() { return MeterPreferences::read("PPMhold", 1.0f); }
void AutoComp::setVUreference(float value) { MeterPreferences::write("VUreference", value); }
void AutoComp::setVUtimeConst(float value) { MeterPreferences::write("VUtimeConst", value); }
void AutoComp::setPPMrelease(float value) { MeterPreferences::write("PPMrelease", value); }
void AutoComp::setPPMhold(float value) { MeterPreferences::write("PPMhold", value); }
