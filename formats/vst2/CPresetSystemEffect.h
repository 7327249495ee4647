// The effect base with the bank of 33 programs behind the host's single
// program: selection, renaming, the write-through of every parameter change,
// the factory fill and the A/B memories.
#pragma once

#include <atomic>

#include "audioeffectx.h"
#include "core/programs/CProgram.h"

class CPresetPanel;

class CPresetSystemEffect : public vst2::AudioEffectX {
public:
    // Sets up the VST base with 1 program and 12 parameters and fills the bank.
    explicit CPresetSystemEffect(vst2::audioMasterCallback audioMaster);
    ~CPresetSystemEffect() override;

    // Host's main thread: the one program the host sees is slot 0.
    vst2::int32 getProgram() override { return 0; }
    // Applies a slot's values through setParameter; also resume's re-selection.
    void setProgram(vst2::int32 index) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(vst2::int32 category, vst2::int32 index, char* text) override;
    // Any host thread: the base performs only the write-through rule.
    void setParameter(vst2::int32 index, float value) override;

    virtual vst2::int32 getCurrentPreset();
    // Host (setProgramName) and memory recall: renames the selected preset and
    // slot 0 and shows the name in the panel.
    virtual void setPresetName(const char* text);
    // Editor, after the user edited the name field: renames and tells the host.
    virtual void renamePreset(const char* text);
    // Editor's GUI thread: selects a slot and applies it as one gesture per parameter.
    virtual void selectPreset(vst2::int32 index);
    // Editor's GUI thread: the A/B memories in the settings store; the
    // answers are the store's status of the last step.
    virtual long storeMemoA();
    virtual long storeMemoB();
    virtual long recallMemoA();
    virtual long recallMemoB();
    // Sets a parameter and reports it to the host as begin, automate, automate, end.
    virtual void automateParameter(vst2::int32 index, float value);
    virtual void fillFactoryPresets();

    // A bank slot, or null when the bank is missing or the slot does not exist.
    CProgram* getBankProgram(vst2::int32 slot) {
        return programs && slot >= 0 && slot < kBankPrograms ? &programs[slot] : nullptr;
    }
    // The editor registers its preset panel here while it exists.
    void setPresetPanel(CPresetPanel* panel) { presetPanel = panel; }

protected:
    // Stores a parameter change into the selected preset and slot 0 unless a
    // preset is being applied; the end of every setParameter.
    void writeThrough(vst2::int32 index, float value);

    CProgram* programs = nullptr;  // the bank, slots 0 to 32; null if allocation failed
    // Written on the GUI thread, read by automation on the audio thread.
    std::atomic<vst2::int32> currentPreset{0};
    std::atomic<bool> presetLoading{false};
    CPresetPanel* presetPanel = nullptr;

private:
    long storeMemo(const char* memo);
    long recallMemo(const char* memo);
};
