#include "numberText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace platform {

double numberFromText(const char* text) {
    if (!text) return 0.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text) return 0.0;
    while (*end && std::isspace(static_cast<unsigned char>(*end))) ++end;
    return *end == '\0' && std::isfinite(value) ? value : 0.0;
}

}  // namespace platform
