// The library's load hook: keeps the module handle for resource loading. It is
// linked into the DLL itself, not the backend library, so that it is never
// left behind by the linker.
#include "module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) platform::windows::setModuleHandle(instance);
    return TRUE;
}
