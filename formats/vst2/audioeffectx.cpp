#include "audioeffectx.h"

#include "aeffeditor.h"

namespace vst2 {

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) {
    *in = nullptr;
    *out = nullptr;
    return false;
}

int32 AudioEffectX::canHostDo(char* text) {
    return static_cast<int32>(callHost(audioMasterCanDo, 0, 0, text));
}

void AudioEffectX::wantEvents(int32 filter) { callHost(audioMasterWantMidi, 0, filter); }

intptr AudioEffectX::dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effProcessEvents: return ptr ? processEvents(ptr) : 0;
        case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
        case effString2Parameter: return text && string2parameter(index, text) ? 1 : 0;
        case effGetProgramNameIndexed:
            if (!text) return 0;
            return getProgramNameIndexed(static_cast<int32>(value), index, text) ? 1 : 0;
        case effGetInputProperties:
            if (!ptr) return 0;
            return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
        case effGetOutputProperties:
            if (!ptr) return 0;
            return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
        case effGetPlugCategory: return getPlugCategory();
        case effSetSpeakerArrangement: {
            auto* in = reinterpret_cast<VstSpeakerArrangement*>(value);
            auto* out = static_cast<VstSpeakerArrangement*>(ptr);
            if (!in || !out) return 0;
            return setSpeakerArrangement(in, out) ? 1 : 0;
        }
        case effGetSpeakerArrangement: {
            auto** in = reinterpret_cast<VstSpeakerArrangement**>(value);
            auto** out = static_cast<VstSpeakerArrangement**>(ptr);
            if (!in || !out) return 0;
            return getSpeakerArrangement(in, out) ? 1 : 0;
        }
        case effSetBypass: return setBypass(value != 0) ? 1 : 0;
        case effGetEffectName: {
            if (!text) return 0;
            char name[kVstMaxEffectNameLen + 1] = {};
            if (!getEffectName(name)) return 0;
            copyString(text, name, sizeof(name));
            return 1;
        }
        case effGetVendorString: {
            if (!text) return 0;
            char vendor[kVstMaxVendorStrLen + 1] = {};
            if (!getVendorString(vendor)) return 0;
            copyString(text, vendor, kVstMaxVendorStrLen);
            return 1;
        }
        case effGetProductString: {
            if (!text) return 0;
            char product[kVstMaxProductStrLen + 1] = {};
            if (!getProductString(product)) return 0;
            copyString(text, product, kVstMaxProductStrLen);
            return 1;
        }
        case effGetVendorVersion: return getVendorVersion();
        case effCanDo: return text ? canDo(text) : 0;
        case effGetTailSize: return getTailSize();
        case effGetVstVersion: return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp: {
            if (!editor) return 0;
            VstKeyCode key{index, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(opt)};
            bool used = opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
            return used ? 1 : 0;
        }
        case effSetEditKnobMode:
            return editor && editor->setKnobMode(static_cast<int32>(value)) ? 1 : 0;
        case effGetCurrentMidiProgram: return -1;
        case effBeginSetProgram: return beginSetProgram() ? 1 : 0;
        case effEndSetProgram: return endSetProgram() ? 1 : 0;
        case effStartProcess: return startProcess();
        case effStopProcess: return stopProcess();
        case effSetTotalSampleToProcess: return value;
        case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
        case effSetProcessPrecision: return setProcessPrecision(static_cast<int32>(value)) ? 1 : 0;
        default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

}  // namespace vst2
