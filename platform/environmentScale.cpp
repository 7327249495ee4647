#include <cstdlib>

#include "displayScale.h"
#include "numberText.h"

namespace platform {

double environmentScale() { return numberFromText(std::getenv("KVBR_EDITOR_SCALE")); }

}  // namespace platform
