// The interface's 16-bit texts. The plug-in's own texts (names, displays,
// program names) are 8-bit, Latin-1 at most, so every byte is one UTF-16 unit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/vst3/abi/base.h"

namespace vst3 {

// Fills all `capacity` units: the text (cut to capacity - 1), then zeros, so
// that repeated answers are the same bytes.
void putText16(char16* out, int capacity, std::string_view text);
// The same for an 8-bit field.
void putText8(char* out, int capacity, std::string_view text);
// The same for a fixed field of a record, its whole size.
template <std::size_t N>
void putText(char (&out)[N], std::string_view text) {
    putText8(out, static_cast<int>(N), text);
}
template <std::size_t N>
void putText(char16 (&out)[N], std::string_view text) {
    putText16(out, static_cast<int>(N), text);
}
// A host's text, up to its terminator or `capacity` units; units above
// Latin-1 become '?'.
std::string textOf16(const char16* text, int capacity);

}  // namespace vst3
