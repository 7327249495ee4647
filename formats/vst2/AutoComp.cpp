// Construction, identity, pins and channel layouts of the effect.
#include "AutoComp.h"

#include <cstdio>
#include <cstring>

#include "vst2Editor.h"

namespace {

constexpr const char* kEffectName = "Korvane Brassel";
constexpr const char* kVendor = "korvane.com";
constexpr const char* kProduct = "Korvane Brassel - opto compressor";

constexpr const char* kCanDoTexts[] = {"offline",  "plugAsChannelInsert", "mixDryWet",
                                       "1in1out",  "1in2out",             "2in2out"};

bool fillPin(vst2::VstPinProperties* properties, int32 index, const char* direction) {
    std::snprintf(properties->label, sizeof(properties->label), "Korvane Brassel %1d %s",
                  index + 1, direction);
    properties->flags = vst2::kVstPinIsActive | vst2::kVstPinIsStereo;
    return true;
}

}  // namespace

AutoComp::AutoComp(vst2::audioMasterCallback audioMaster) : CPresetSystemEffect(audioMaster) {
    // The compressor stands ready: bank, program 0, engine at rest, meter
    // preferences read. Stereo in and out until the host negotiates otherwise.
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    canDoubleReplacing(true);
    setUniqueID(vst2::fourCharCode('K', 'v', 'B', 'r'));
    // The editor links itself to us and raises the has-editor flag; our base
    // deletes it while the compressor still exists.
    new Vst2Editor(this, editorModel());
}

ADEditor* AutoComp::view() {
    auto* adapter = static_cast<Vst2Editor*>(getEditor());
    return adapter ? &adapter->view() : nullptr;
}

bool AutoComp::getEffectName(char* name) {
    vst2::copyString(name, kEffectName, vst2::kVstMaxEffectNameLen + 1);
    return true;
}

bool AutoComp::getVendorString(char* text) {
    vst2::copyString(text, kVendor, vst2::kVstMaxVendorStrLen);
    return true;
}

bool AutoComp::getProductString(char* text) {
    vst2::copyString(text, kProduct, vst2::kVstMaxProductStrLen);
    return true;
}

int32 AutoComp::canDo(char* text) {
    if (!text) return 0;
    for (const char* known : kCanDoTexts)
        if (std::strcmp(text, known) == 0) return 1;
    // Never -1: hosts read "don't know" as harmless, "no" as a refusal.
    return 0;
}

// Four input pins are answered although two are declared: hosts probe beyond.
bool AutoComp::getInputProperties(int32 index, vst2::VstPinProperties* properties) {
    if (!properties || index < 0 || index > 3) return false;
    return fillPin(properties, index, "In");
}

bool AutoComp::getOutputProperties(int32 index, vst2::VstPinProperties* properties) {
    if (!properties || index < 0 || index > 1) return false;
    return fillPin(properties, index, "Out");
}

bool AutoComp::setSpeakerArrangement(vst2::VstSpeakerArrangement* input,
                                     vst2::VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    const int32 ins = input->numChannels, outs = output->numChannels;
    bool supported = true;
    if (ins == 1 && outs == 1) {
        stereoInput = false;
        stereoOutput = false;
    } else if (ins == 1 && outs == 2) {
        stereoInput = false;
        stereoOutput = true;
    } else {
        // 2 in 2 out, and the fallback for anything we cannot do.
        stereoInput = true;
        stereoOutput = true;
        supported = ins == 2 && outs == 2;
    }
    return supported;
}
