// Construction, identity, pins and channel layouts of the effect.
#include "AutoComp.h"

#include <cstdio>
#include <cstring>

#include "editor/ADEditor.h"

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

AutoComp::AutoComp(vst2::audioMasterCallback audioMaster)
    : CPresetSystemEffect(audioMaster) {
    for (auto& p : params) p.store(0.0f, std::memory_order_relaxed);
    // 1. The base has set up the record; the program bank joins here.
    // 2. Stereo in and out until the host negotiates otherwise.
    stereoInput = true;
    stereoOutput = true;
    // 3. Engine sections designed for 44.1 kHz, noise generators seeded.
    initEngine();
    // 4. Identity.
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    canDoubleReplacing(true);
    setUniqueID(vst2::fourCharCode('K', 'v', 'B', 'r'));
    // 5. The bank is written again now that the engine exists; the meter rests.
    fillFactoryPresets();
    meterReading.store(1.0, std::memory_order_relaxed);
    // 6. Program 0 drives the engine. The smoothers start at their targets so
    // the first block does not glide in from nothing.
    setProgram(0);
    engine.smoothedDrive = getCompressionGain();
    engine.inverseDrive = 1.0 / engine.smoothedDrive;
    engine.smoothedOutputGain = getOutputGain();
    // 7. The editor; its base links it to us and raises the has-editor flag.
    //    The base class deletes it, after our own members are gone.
    new ADEditor(this);
    // 8. Idle state.
    suspend();
    // 9. Meter preferences.
    loadMeterPreferences();
}

AutoComp::~AutoComp() = default;

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
