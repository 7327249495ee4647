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
