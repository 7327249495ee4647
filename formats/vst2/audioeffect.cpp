#include "audioeffect.h"

#include <cstring>

#include "aeffeditor.h"

namespace vst2 {

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = 0;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
    AEffEditor* e = editor;
    editor = nullptr;
    delete e;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(int32 flag, bool state) {
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

intptr AudioEffect::callHost(int32 opcode, int32 index, intptr value, void* ptr, float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

intptr AudioEffect::dispatchEffClass(AEffect* e, int32 opcode, int32 index, intptr value, void* ptr,
                                     float opt) {
    AudioEffect* effect = fromAeffect(e);
    if (!effect) return 0;
    // No exception may cross into the host; an operation that runs out of memory answers 0.
    try {
        if (opcode == effClose) {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        return 0;
    }
}

// The accumulating entry is obsolete; hosts that still call it get silence from us.
void AudioEffect::processClass(AEffect*, float**, float**, int32) {}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                        int32 sampleFrames) {
    if (AudioEffect* effect = fromAeffect(e)) effect->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                              int32 sampleFrames) {
    if (AudioEffect* effect = fromAeffect(e))
        effect->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::setParameterClass(AEffect* e, int32 index, float value) {
    if (AudioEffect* effect = fromAeffect(e)) effect->setParameter(index, value);
}

float AudioEffect::getParameterClass(AEffect* e, int32 index) {
    AudioEffect* effect = fromAeffect(e);
    return effect ? effect->getParameter(index) : 0.0f;
}

void AudioEffect::processReplacing(float**, float**, int32) {}
void AudioEffect::processDoubleReplacing(double**, double**, int32) {}
void AudioEffect::setParameter(int32, float) {}
float AudioEffect::getParameter(int32) { return 0.0f; }
void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name) { name[0] = 0; }
void AudioEffect::getParameterLabel(int32, char* label) { label[0] = 0; }
void AudioEffect::getParameterDisplay(int32, char* text) { text[0] = 0; }
void AudioEffect::getParameterName(int32, char* text) { text[0] = 0; }
int32 AudioEffect::getChunk(void**, bool) { return 0; }
int32 AudioEffect::setChunk(void*, int32, bool) { return 0; }

void AudioEffect::setParameterAutomated(int32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

bool AudioEffect::beginEdit(int32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffect::endEdit(int32 index) { return callHost(audioMasterEndEdit, index) != 0; }
bool AudioEffect::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffect::isInputConnected(int32 pin) {
    return audioMaster ? callHost(audioMasterPinConnected, pin, 0) == 0 : true;
}

bool AudioEffect::isOutputConnected(int32 pin) {
    return audioMaster ? callHost(audioMasterPinConnected, pin, 1) == 0 : true;
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

intptr AudioEffect::dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen: open(); return 0;
        case effClose: close(); return 0;
        case effSetProgram:
            // Only real program numbers reach the effect; anything else is a host mistake.
            if (value >= 0 && value < numPrograms) setProgram(static_cast<int32>(value));
            return 0;
        case effGetProgram: return getProgram();
        case effSetProgramName:
            if (!text) return 0;
            setProgramName(text);
            return 0;
        case effGetProgramName:
            if (!text) return 0;
            getProgramName(text);
            return 0;
        case effGetParamLabel:
            if (!text) return 0;
            getParameterLabel(index, text);
            return 0;
        case effGetParamDisplay:
            if (!text) return 0;
            getParameterDisplay(index, text);
            return 0;
        case effGetParamName:
            if (!text) return 0;
            getParameterName(index, text);
            return 0;
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effSetBlockSize: setBlockSize(static_cast<int32>(value)); return 0;
        case effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;
        case effEditGetRect:
            if (!editor || !ptr) return 0;
            return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        case effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify: return kEffectIdentify;
        case effGetChunk:
            if (!ptr) return 0;
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk:
            if (!ptr) return 0;
            return setChunk(ptr, static_cast<int32>(value), index != 0);
        default: return 0;
    }
}

void copyString(char* dst, const char* src, int size) {
    if (!dst || size <= 0) return;
    int i = 0;
    for (; src && src[i] && i < size - 1; ++i) dst[i] = src[i];
    dst[i] = 0;
}

}  // namespace vst2
