// The headless desktop says nothing about its scale unless a test sets one.
#pragma once

namespace platform::headless {

// The factor desktopScale answers from now on; 0 for none.
void setDesktopScale(double scale);

}  // namespace platform::headless
