// The library's one entry point, exported as VSTPluginMain and as main.
#include "AutoComp.h"

#define KVBR_EXPORT extern "C" __attribute__((visibility("default")))

KVBR_EXPORT vst2::AEffect* VSTPluginMain(vst2::audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    // A host without a VST version is not one we can serve.
    if (audioMaster(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    // No exception may cross into the host: a failed construction is a null record.
    try {
        AutoComp* effect = new AutoComp(audioMaster);
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}

// Older hosts look the entry up as "main"; the assembler name gives the same
// function that second name without defining a C++ main.
KVBR_EXPORT vst2::AEffect* vstPluginMainAlias(vst2::audioMasterCallback audioMaster) __asm__("main");
KVBR_EXPORT vst2::AEffect* vstPluginMainAlias(vst2::audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}
