#include "CPresetSystemEffect.h"

#include "aeffeditor.h"

CPresetSystemEffect::CPresetSystemEffect(vst2::audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kProgramParams) {}

CPresetSystemEffect::~CPresetSystemEffect() {
    // Its destructor unlinks it.
    delete getEditor();
}

void CPresetSystemEffect::setProgram(vst2::int32 index) { bank().setProgram(index); }

void CPresetSystemEffect::setProgramName(char* name) { bank().setPresetName(name); }

void CPresetSystemEffect::getProgramName(char* name) {
    if (!name) return;
    bank().getBankProgram(0)->getName(name);
}

bool CPresetSystemEffect::getProgramNameIndexed(vst2::int32, vst2::int32 index, char* text) {
    if (index != 0 || !text) return false;
    bank().getBankProgram(0)->getName(text);
    return true;
}

vst2::int32 CPresetSystemEffect::getCurrentPreset() { return bank().getCurrentPreset(); }
void CPresetSystemEffect::setPresetName(const char* text) { bank().setPresetName(text); }
void CPresetSystemEffect::renamePreset(const char* text) { bank().renamePreset(text, &port); }
void CPresetSystemEffect::selectPreset(vst2::int32 index) { bank().selectPreset(index, &port); }
long CPresetSystemEffect::storeMemoA() { return bank().storeMemoA(); }
long CPresetSystemEffect::storeMemoB() { return bank().storeMemoB(); }
long CPresetSystemEffect::recallMemoA() { return bank().recallMemoA(&port); }
long CPresetSystemEffect::recallMemoB() { return bank().recallMemoB(&port); }
void CPresetSystemEffect::fillFactoryPresets() { bank().fillFactoryPresets(); }
CProgram* CPresetSystemEffect::getBankProgram(vst2::int32 slot) { return bank().getBankProgram(slot); }

void CPresetSystemEffect::automateParameter(vst2::int32 index, float value) {
    bank().automateParameter(index, value, &port);
}
