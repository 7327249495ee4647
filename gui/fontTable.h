// The toolkit's eight fonts, chosen by id, and the text style bits.
#pragma once

namespace gui {

enum CFont {
    kSystemFont = 0,
    kNormalFontVeryBig,
    kNormalFontBig,
    kNormalFont,
    kNormalFontSmall,
    kNormalFontSmaller,
    kNormalFontVerySmall,
    kSymbolFont,
    kNumStandardFonts
};

enum CTxtFace { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2, kUnderlineFace = 4 };

enum CHoriTxtAlign { kLeftText = 0, kCenterText = 1, kRightText = 2 };

struct CFontDesc {
    const char* face;
    int size;  // character height in pixels
};

// Face and size of font id; ids outside the table give font 0.
const CFontDesc& fontDescription(int id);

}  // namespace gui
