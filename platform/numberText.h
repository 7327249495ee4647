// Numbers the system hands over as text (environment variables, X resources).
#pragma once

namespace platform {

// The number the whole text spells (spaces around it allowed), or 0 when the
// text is null, empty, not wholly a number, or not finite.
double numberFromText(const char* text);

}  // namespace platform
