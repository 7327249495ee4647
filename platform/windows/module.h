// The library's own module handle, the one every resource is loaded through.
#pragma once

#include <windows.h>

namespace platform::windows {

// The handle stored when Windows loaded the library; in a program that links
// the backend directly (the tests), the program's own module.
HINSTANCE moduleHandle();
// Called once from DllMain at load.
void setModuleHandle(HINSTANCE handle);

}  // namespace platform::windows
