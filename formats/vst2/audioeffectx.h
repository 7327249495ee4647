// The extended effect base: the VST 2.x opcodes beyond the original set, each
// turned into a virtual operation with the interface's default answer.
#pragma once

#include "audioeffect.h"

namespace vst2 {

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams);

    intptr dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt) override;

    // Host's main thread: identity and capabilities.
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual int32 getVendorVersion() { return 0; }
    virtual int32 canDo(char*) { return 0; }
    virtual int32 getPlugCategory() { return isSynthFlagSet() ? kPlugCategSynth : kPlugCategUnknown; }
    virtual int32 getVstVersion() { return 2400; }
    virtual int32 getTailSize() { return 0; }

    // Host's main thread: programs and parameters.
    virtual bool getProgramNameIndexed(int32, int32, char*) { return false; }
    virtual bool canParameterBeAutomated(int32) { return true; }
    virtual bool string2parameter(int32, char*) { return false; }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }

    // Host's main thread: channel layout.
    virtual bool getInputProperties(int32, VstPinProperties*) { return false; }
    virtual bool getOutputProperties(int32, VstPinProperties*) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out);

    // Host's main thread: processing set-up.
    virtual bool setBypass(bool) { return false; }
    virtual bool setProcessPrecision(int32) { return false; }
    virtual int32 startProcess() { return 0; }
    virtual int32 stopProcess() { return 0; }
    virtual int32 processEvents(void*) { return 0; }

    // Any thread: private requests between an effect and hosts that know it.
    virtual intptr vendorSpecific(int32, intptr, void*, float) { return 0; }

    // Host calls made on behalf of the effect.
    // The host's answer to a canDo question (1 yes, -1 no, 0 unknown or no host).
    virtual int32 canHostDo(char* text);
    // Asks the host for MIDI events (audioMasterWantMidi).
    virtual void wantEvents(int32 filter = 1);

private:
    bool isSynthFlagSet() const { return (cEffect.flags & effFlagsIsSynth) != 0; }
};

}  // namespace vst2
