// The effect base: owns the AEffect record the host holds, routes the record's
// function entries to virtual operations, and offers the host-call helpers.
#pragma once

#include "aeffect.h"

namespace vst2 {

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams);
    // Deletes the editor, if one is still linked.
    virtual ~AudioEffect();

    AEffect* getAeffect() { return &cEffect; }
    static AudioEffect* fromAeffect(AEffect* e) {
        return e ? static_cast<AudioEffect*>(e->object) : nullptr;
    }

    // The opcode switch; any thread the host calls the dispatcher on.
    virtual intptr dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt);

    // Host's main thread (effOpen / effClose).
    virtual void open() {}
    virtual void close() {}

    // Host's main thread (effMainsChanged); never while a process call runs.
    virtual void suspend() {}
    virtual void resume() {}
    // Host's main thread (effSetSampleRate / effSetBlockSize).
    virtual void setSampleRate(float sampleRate) { this->sampleRate = sampleRate; }
    virtual void setBlockSize(int32 blockSize) { this->blockSize = blockSize; }

    // Host's audio thread.
    virtual void processReplacing(float** inputs, float** outputs, int32 sampleFrames);
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames);

    // Any host thread, the audio thread included.
    virtual void setParameter(int32 index, float value);
    virtual float getParameter(int32 index);

    // Host's main thread: program operations.
    virtual int32 getProgram() { return curProgram; }
    virtual void setProgram(int32 program) { curProgram = program; }
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);

    // Host's main thread: parameter texts.
    virtual void getParameterLabel(int32 index, char* label);
    virtual void getParameterDisplay(int32 index, char* text);
    virtual void getParameterName(int32 index, char* text);

    // Host's main thread: no chunk support unless an effect adds it.
    virtual int32 getChunk(void** data, bool isPreset);
    virtual int32 setChunk(void* data, int32 byteSize, bool isPreset);

    // Host calls made on behalf of the effect.
    // Sets the parameter, then reports it to the host as automation.
    virtual void setParameterAutomated(int32 index, float value);
    virtual bool beginEdit(int32 index);
    virtual bool endEdit(int32 index);
    virtual bool updateDisplay();
    // A pin counts as connected when the host answers 0, or when there is no host.
    virtual bool isInputConnected(int32 pin);
    virtual bool isOutputConnected(int32 pin);
    // Asks the host for an idle pass (audioMasterIdle).
    virtual void masterIdle();

    float getSampleRate() const { return sampleRate; }
    int32 getBlockSize() const { return blockSize; }
    void setInitialDelay(int32 delay) { cEffect.initialDelay = delay; }
    void setUniqueID(int32 id) { cEffect.uniqueID = id; }
    void setNumInputs(int32 n) { cEffect.numInputs = n; }
    void setNumOutputs(int32 n) { cEffect.numOutputs = n; }
    void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
    void canDoubleReplacing(bool state) { setFlag(effFlagsCanDoubleReplacing, state); }
    void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
    void isSynth(bool state) { setFlag(effFlagsIsSynth, state); }

    // Links the editor (or none) and keeps the has-editor flag in step.
    void setEditor(AEffEditor* newEditor);
    AEffEditor* getEditor() const { return editor; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }

protected:
    intptr callHost(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
    void setFlag(int32 flag, bool state);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32 blockSize = 1024;
    int32 numPrograms;
    int32 numParams;
    int32 curProgram = 0;
    AEffect cEffect;

private:
    static intptr dispatchEffClass(AEffect* e, int32 opcode, int32 index, intptr value, void* ptr,
                                   float opt);
    static void processClass(AEffect* e, float** inputs, float** outputs, int32 sampleFrames);
    static void processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                      int32 sampleFrames);
    static void processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                            int32 sampleFrames);
    static void setParameterClass(AEffect* e, int32 index, float value);
    static float getParameterClass(AEffect* e, int32 index);
};

// Copies text into a host buffer of `size` bytes, always zero-terminated.
void copyString(char* dst, const char* src, int size);

}  // namespace vst2
