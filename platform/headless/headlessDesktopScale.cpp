#include "headlessDesktopScale.h"

#include "../displayScale.h"

namespace platform {

namespace {
double desktop = 0.0;
}

void headless::setDesktopScale(double scale) { desktop = scale; }

double desktopScale(void*) { return desktop; }

}  // namespace platform
