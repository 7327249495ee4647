// The VST 2.x effect base over the core: it owns the compressor, answers the
// program opcodes from the core's bank of 33 programs behind the host's
// single program, and reports the user's edits to the host through its port.
#pragma once

#include "audioeffectx.h"
#include "core/Compressor.h"
#include "core/editorModel.h"
#include "core/hostPort.h"

class CPresetSystemEffect : public vst2::AudioEffectX {
public:
    // Sets up the VST base with 1 program and 12 parameters over a new compressor.
    explicit CPresetSystemEffect(vst2::audioMasterCallback audioMaster);
    // Deletes the editor while the compressor it shows still exists.
    ~CPresetSystemEffect() override;

    // Host's main thread: the one program the host sees is slot 0.
    vst2::int32 getProgram() override { return 0; }
    // Applies a slot's values to the parameters; also resume's re-selection.
    void setProgram(vst2::int32 index) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(vst2::int32 category, vst2::int32 index, char* text) override;

    // The bank's operations as the editor makes them, host calls included
    // (ProgramBank has each in full). Virtual, as they always were: whatever
    // reaches them through the effect object lands in the library's own code.
    virtual vst2::int32 getCurrentPreset();
    virtual void setPresetName(const char* text);
    virtual void renamePreset(const char* text);
    virtual void selectPreset(vst2::int32 index);
    virtual long storeMemoA();
    virtual long storeMemoB();
    virtual long recallMemoA();
    virtual long recallMemoB();
    virtual void automateParameter(vst2::int32 index, float value);
    virtual void fillFactoryPresets();
    virtual CProgram* getBankProgram(vst2::int32 slot);

    Compressor& core() { return compressor; }
    ProgramBank& bank() { return compressor.bank(); }
    // What the editor works on: the compressor, with this host to tell.
    EditorModel& editorModel() { return model; }

protected:
    // The user's edits as a VST 2.x host hears them: its twelve parameters
    // only, the instance settings beyond them being no VST 2.x parameter.
    class Port : public HostPort {
    public:
        explicit Port(CPresetSystemEffect& effect) : effect(effect) {}
        void beginEdit(int parameter) override {
            if (parameter < kProgramParameters) effect.beginEdit(parameter);
        }
        void endEdit(int parameter) override {
            if (parameter < kProgramParameters) effect.endEdit(parameter);
        }
        void automate(int parameter, float value) override {
            if (parameter < kProgramParameters)
                effect.callHost(vst2::audioMasterAutomate, parameter, 0, nullptr, value);
        }
        void updateDisplay() override { effect.updateDisplay(); }
        void idle() override { effect.masterIdle(); }

    private:
        CPresetSystemEffect& effect;
    };

    Compressor compressor;
    Port port{*this};
    EditorModel model{compressor.parameters(), &compressor.bank(), &port, compressor.meterSource()};
};
