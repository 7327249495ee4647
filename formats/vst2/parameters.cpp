// The twelve parameters as a VST 2.x host sets and reads them, over the
// core's targets and texts.
#include "AutoComp.h"

namespace {

// Parameter texts are short; hosts give more than the nominal 8 bytes and
// "Compression" needs 12.
constexpr int kParameterTextRoom = 16;

// The twelve a VST 2.x host knows; the core's settings beyond them are not its.
bool isVst2Parameter(int32 index) { return index >= 0 && index < kProgramParameters; }

}  // namespace

void AutoComp::setParameter(int32 index, float value) {
    if (isVst2Parameter(index)) compressor.parameters().set(index, value);
}

float AutoComp::getParameter(int32 index) {
    return isVst2Parameter(index) ? compressor.parameters().get(index) : 0.0f;
}

void AutoComp::getParameterName(int32 index, char* text) {
    vst2::copyString(text, isVst2Parameter(index) ? Parameters::name(index) : " ", kParameterTextRoom);
}

void AutoComp::getParameterLabel(int32, char* label) {
    vst2::copyString(label, " ", kParameterTextRoom);
}

void AutoComp::getParameterDisplay(int32 index, char* text) {
    const std::string shown = isVst2Parameter(index) ? compressor.parameters().display(index) : " ";
    vst2::copyString(text, shown.c_str(), kParameterTextRoom);
}
