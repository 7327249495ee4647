// What the system says about the scale the editor should be drawn at. Each
// answer is a factor (2 for 192 dpi), or 0 when the system says nothing.
#pragma once

namespace platform {

// KVBR_EDITOR_SCALE from the environment, for quick trials; 0 when it is unset
// or not wholly a number.
double environmentScale();

// The desktop's factor for a window inside `parent` (the host's window as the
// host passed it; may be null before the editor opens): on Linux the Xft.dpi X
// resource over 96, else GDK_SCALE; on Windows the DPI of the monitor holding
// `parent` (GetDpiForWindow where the system has it, else LOGPIXELSX) over 96.
double desktopScale(void* parent);

}  // namespace platform
