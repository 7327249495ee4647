// The twelve parameters as a VST 2.x host sets and reads them, over the
// core's targets and texts.
#include "AutoComp.h"

namespace {

// Parameter texts are short; hosts give more than the nominal 8 bytes and
// "Compression" needs 12.
constexpr int kParameterTextRoom = 16;

}  // namespace

void AutoComp::setParameter(int32 index, float value) { compressor.parameters().set(index, value); }

float AutoComp::getParameter(int32 index) { return compressor.parameters().get(index); }

void AutoComp::getParameterName(int32 index, char* text) {
    vst2::copyString(text, Parameters::name(index), kParameterTextRoom);
}

void AutoComp::getParameterLabel(int32, char* label) {
    vst2::copyString(label, " ", kParameterTextRoom);
}

void AutoComp::getParameterDisplay(int32 index, char* text) {
    vst2::copyString(text, compressor.parameters().display(index).c_str(), kParameterTextRoom);
}
