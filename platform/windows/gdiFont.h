// GDI fonts for the toolkit's font records, shared by drawing and edit boxes.
#pragma once

#include <windows.h>

#include <string>

#include "../drawDevice.h"

namespace platform::windows {

// A font record that owns its face name, so that it can be kept and compared.
struct FontKey {
    std::string face;
    int height = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool decorative = false;

    static FontKey of(const FontSpec& spec);
    bool operator==(const FontKey&) const = default;
};

// CreateFontIndirectA: the character height in pixels (a negative lfHeight),
// the weight, italic and underline as given, ANSI characters, variable pitch,
// the decorative family or else the Swiss one. The caller deletes the font.
HFONT createFont(const FontKey& key);

}  // namespace platform::windows
