#include "gdiFont.h"

#include <cstring>

namespace platform::windows {

FontKey FontKey::of(const FontSpec& spec) {
    FontKey key;
    key.face = spec.face ? spec.face : "Arial";
    key.height = spec.height;
    key.weight = spec.weight;
    key.italic = spec.italic;
    key.underline = spec.underline;
    key.decorative = spec.decorative;
    return key;
}

HFONT createFont(const FontKey& key) {
    LOGFONTA font;
    std::memset(&font, 0, sizeof font);
    // A negative height asks for the character height rather than the cell's.
    font.lfHeight = -key.height;
    font.lfWeight = key.weight;
    font.lfItalic = key.italic ? TRUE : FALSE;
    font.lfUnderline = key.underline ? TRUE : FALSE;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | (key.decorative ? FF_DECORATIVE : FF_SWISS);
    std::strncpy(font.lfFaceName, key.face.c_str(), LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

}  // namespace platform::windows
