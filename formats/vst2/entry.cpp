// The library's one entry point, exported as VSTPluginMain and as main.
#include "AutoComp.h"

// On Windows the module-definition file (exports.def) names the exports; on
// Linux the entry point is made visible and the version script keeps it alone.
#if defined(_WIN32)
#define KVBR_EXPORT extern "C"
#else
#define KVBR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

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

#if !defined(_WIN32)
// Older hosts look the entry up as "main"; the assembler name gives the same
// function that second name without defining a C++ main. (Windows gets the
// second name from exports.def.)
KVBR_EXPORT vst2::AEffect* vstPluginMainAlias(vst2::audioMasterCallback audioMaster) __asm__("main");
KVBR_EXPORT vst2::AEffect* vstPluginMainAlias(vst2::audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}
#endif
