#include "gdiFont.h"

#include <cstring>

namespace platform::windows {

FontKey FontKey::of(const FontSpec& font) {
    FontKey key;
    key.face = font.face ? font.face : "Arial";
    key.height = font.height;
    key.weight = font.weight;
    key.italic = font.italic;
    key.underline = font.underline;
    key.decorative = font.decorative;
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
