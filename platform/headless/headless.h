// Everything a test needs to drive the headless backend, and one call that
// puts it back to a known state between tests.
#pragma once

#include "cairoDevice.h"
#include "../cairo/fontLookup.h"
#include "headlessBitmaps.h"
#include "headlessClock.h"
#include "headlessDesktopScale.h"
#include "headlessDragDrop.h"
#include "headlessEditBox.h"
#include "headlessInput.h"
#include "headlessPopupMenu.h"
#include "headlessWindow.h"

namespace platform::headless {

using cairo_draw::servingFamily;

// Clears the input and answer scripts, the registered bitmaps, the counters and
// the desktop's scale, and sets the clock to `startTime`. The bitmap provider is kept.
void resetHeadless(unsigned startTime = 1000);

}  // namespace platform::headless
