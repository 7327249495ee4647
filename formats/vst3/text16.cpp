#include "text16.h"

#include <algorithm>

namespace vst3 {

void putText16(char16* out, int capacity, std::string_view text) {
    if (!out || capacity <= 0) return;
    const int length = std::min(static_cast<int>(text.size()), capacity - 1);
    for (int i = 0; i < capacity; ++i)
        out[i] = i < length ? static_cast<char16>(static_cast<unsigned char>(text[i])) : 0;
}

void putText8(char* out, int capacity, std::string_view text) {
    if (!out || capacity <= 0) return;
    const int length = std::min(static_cast<int>(text.size()), capacity - 1);
    for (int i = 0; i < capacity; ++i) out[i] = i < length ? text[i] : '\0';
}

std::string textOf16(const char16* text, int capacity) {
    std::string out;
    if (!text) return out;
    for (int i = 0; i < capacity && text[i]; ++i)
        out.push_back(text[i] < 0x100 ? static_cast<char>(text[i]) : '?');
    return out;
}

}  // namespace vst3
