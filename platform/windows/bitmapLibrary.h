// The system's bitmap library "msimg32.dll", loaded at run time while any
// editor window is open: its transparent copy (TransparentBlt) and alpha copy
// (AlphaBlend). Without it the drawing falls back to copies that need only GDI.
#pragma once

#include <windows.h>

namespace platform::windows {

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);
using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);

// Loads the library on the first call; every call must be balanced by one
// releaseBitmapLibrary, and the library is freed with the last.
void acquireBitmapLibrary();
void releaseBitmapLibrary();

// The functions of the loaded library; null while it is not loaded, when it
// lacks them, or while the library is switched off.
TransparentBltFunction transparentBlt();
AlphaBlendFunction alphaBlend();

// For tests of the fallbacks: as if the system had no bitmap library.
void setBitmapLibraryEnabled(bool enabled);

}  // namespace platform::windows
