// A small DLL built like the plug-in (same DllMain, same backend) that tells
// which module handle the backend would load resources through.
#include "platform/windows/module.h"

extern "C" __declspec(dllexport) HINSTANCE kvbrProbeModuleHandle() {
    return platform::windows::moduleHandle();
}
