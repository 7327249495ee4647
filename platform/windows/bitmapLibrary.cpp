#include "bitmapLibrary.h"

namespace platform::windows {

namespace {

// Windows and the functions below are used on the GUI thread only.
HMODULE library = nullptr;
int users = 0;
TransparentBltFunction transparent = nullptr;
AlphaBlendFunction alpha = nullptr;
bool enabled = true;

template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void acquireBitmapLibrary() {
    if (users++ > 0) return;
    library = LoadLibraryA("msimg32.dll");
    if (!library) return;
    alpha = lookUp<AlphaBlendFunction>("AlphaBlend");
    // Every 64-bit Windows is of the NT family, where TransparentBlt does not
    // leak as it did on the old consumer systems; so it is always looked up.
    transparent = lookUp<TransparentBltFunction>("TransparentBlt");
}

void releaseBitmapLibrary() {
    if (users == 0 || --users > 0) return;
    transparent = nullptr;
    alpha = nullptr;
    if (library) FreeLibrary(library);
    library = nullptr;
}

TransparentBltFunction transparentBlt() { return enabled ? transparent : nullptr; }
AlphaBlendFunction alphaBlend() { return enabled ? alpha : nullptr; }

void setBitmapLibraryEnabled(bool on) { enabled = on; }

}  // namespace platform::windows
