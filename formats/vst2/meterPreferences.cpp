// The effect's meter preference accessors, over the core's store.
#include "AutoComp.h"

float AutoComp::getVUreference() { return MeterPreferenceValues::read("VUreference", -14.0f); }
float AutoComp::getVUtimeConst() { return MeterPreferenceValues::read("VUtimeConst", 0.6f); }
float AutoComp::getPPMrelease() { return MeterPreferenceValues::read("PPMrelease", 0.6f); }
float AutoComp::getPPMhold() { return MeterPreferenceValues::read("PPMhold", 1.0f); }
void AutoComp::setVUreference(float value) { MeterPreferenceValues::write("VUreference", value); }
void AutoComp::setVUtimeConst(float value) { MeterPreferenceValues::write("VUtimeConst", value); }
void AutoComp::setPPMrelease(float value) { MeterPreferenceValues::write("PPMrelease", value); }
void AutoComp::setPPMhold(float value) { MeterPreferenceValues::write("PPMhold", value); }
