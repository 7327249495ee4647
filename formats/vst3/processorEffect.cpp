#include "processorEffect.h"

#include <thread>

#include "formats/hostLink.h"

namespace vst3 {

// No HostLink: the processor's effect has no host to tell anything.
ProcessorEffect::ProcessorEffect() : AutoComp(linkedHostCallback) {}

void ProcessorEffect::selectPresetForAudio(vst2::int32 slot) {
    CProgram* selected = getBankProgram(slot);
    if (!selected) return;
    presetLoading.store(true, std::memory_order_relaxed);
    currentPreset.store(slot, std::memory_order_relaxed);
    for (vst2::int32 i = 0; i < kProgramParams; ++i) {
        const float value = selected->getParam(i);
        setEngineParameter(i, value);
        programs[0].setParam(i, value);
    }
    // The UI thread reads names only in its turn, which this block excludes.
    char name[kProgramNameLength + 1];
    selected->getName(name);
    programs[0].setName(name);
    presetLoading.store(false, std::memory_order_relaxed);
}

bool ProcessorEffect::beginAudioChanges() {
    audioChanging.store(true);
    if (uiTurns.load() == 0) return true;
    audioChanging.store(false, std::memory_order_release);
    return false;
}

void ProcessorEffect::endAudioChanges() { audioChanging.store(false, std::memory_order_release); }

ProcessorEffect::UiTurn::UiTurn(ProcessorEffect& effect) : effect(effect) {
    effect.uiTurns.fetch_add(1);
    // The audio thread holds the bank for the rest of one block at most.
    while (effect.audioChanging.load()) std::this_thread::yield();
}

ProcessorEffect::UiTurn::~UiTurn() { effect.uiTurns.fetch_sub(1, std::memory_order_release); }

}  // namespace vst3
