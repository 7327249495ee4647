#include "CPresetSystemEffect.h"

#include <cstring>
#include <new>

#include "core/programs/factoryPresets.h"
#include "editor/presetPanel.h"

CPresetSystemEffect::CPresetSystemEffect(vst2::audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kProgramParams) {
    // Out of memory leaves the effect without a bank; every bank operation checks.
    programs = new (std::nothrow) CProgram[kBankPrograms];
    if (programs) fillFactoryPresets();
}

CPresetSystemEffect::~CPresetSystemEffect() { delete[] programs; }

void CPresetSystemEffect::fillFactoryPresets() {
    if (!programs) return;
    // Writes the records only: no selection, no engine update, no host call.
    for (vst2::int32 slot = 0; slot < kBankPrograms; ++slot) writeFactoryPreset(slot, programs[slot]);
}

void CPresetSystemEffect::writeThrough(vst2::int32 index, float value) {
    if (!programs || index < 0 || index >= kProgramParams ||
        presetLoading.load(std::memory_order_relaxed))
        return;
    programs[currentPreset.load(std::memory_order_relaxed)].setParam(index, value);
    programs[0].setParam(index, value);
}

void CPresetSystemEffect::setParameter(vst2::int32 index, float value) {
    writeThrough(index, value);
}

void CPresetSystemEffect::setProgram(vst2::int32 index) {
    CProgram* program = getBankProgram(index);
    if (!program) return;
    for (vst2::int32 i = 0; i < kProgramParams; ++i) setParameter(i, program->getParam(i));
}

void CPresetSystemEffect::setProgramName(char* name) { setPresetName(name); }

void CPresetSystemEffect::getProgramName(char* name) {
    if (!name) return;
    if (programs)
        programs[0].getName(name);
    else
        name[0] = 0;
}

bool CPresetSystemEffect::getProgramNameIndexed(vst2::int32, vst2::int32 index, char* text) {
    if (index != 0 || !programs || !text) return false;
    programs[0].getName(text);
    return true;
}

vst2::int32 CPresetSystemEffect::getCurrentPreset() {
    return currentPreset.load(std::memory_order_relaxed);
}

void CPresetSystemEffect::setPresetName(const char* text) {
    char cut[kProgramNameLength + 1] = {};
    const int length = boundedLength(text, kProgramNameLength);
    if (length) std::memcpy(cut, text, static_cast<size_t>(length));
    if (programs) {
        programs[currentPreset.load(std::memory_order_relaxed)].setName(cut);
        programs[0].setName(cut);
    }
    if (presetPanel) presetPanel->displayPresetName(cut);
}

void CPresetSystemEffect::renamePreset(const char* text) {
    if (programs) {
        programs[currentPreset.load(std::memory_order_relaxed)].setName(text);
        programs[0].setName(text);
    }
    updateDisplay();
}

void CPresetSystemEffect::selectPreset(vst2::int32 index) {
    CProgram* selected = getBankProgram(index);
    if (!selected) return;
    presetLoading.store(true, std::memory_order_relaxed);
    currentPreset.store(index, std::memory_order_relaxed);
    // setParameter does not write back while loading; slot 0 is copied explicitly.
    for (vst2::int32 i = 0; i < kProgramParams; ++i) {
        automateParameter(i, selected->getParam(i));
        programs[0].setParam(i, selected->getParam(i));
    }
    char name[kProgramNameLength + 1];
    selected->getName(name);
    programs[0].setName(name);
    presetLoading.store(false, std::memory_order_relaxed);
    updateDisplay();
}

void CPresetSystemEffect::automateParameter(vst2::int32 index, float value) {
    setParameter(index, value);
    if (!audioMaster) return;
    // One edit gesture per parameter, so hosts record a preset change as the user's.
    callHost(vst2::audioMasterBeginEdit, index, 0, nullptr, 0.0f);
    callHost(vst2::audioMasterAutomate, index, 0, nullptr, getParameter(index));
    callHost(vst2::audioMasterAutomate, index, 0, nullptr, value);
    callHost(vst2::audioMasterEndEdit, index, 0, nullptr, 0.0f);
}
