#include "cairoText.h"

#include <fontconfig/fontconfig.h>

#include "fontLookup.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace platform::cairo_text {

namespace {

// Windows-1252 code points for the bytes 0x80 to 0x9F; 0 where the code page
// has a hole (shown as the replacement character).
const char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Symbol encoding's letters: A to Z, then a to z.
const char32_t kSymbolUpper[26] = {0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399,
                                   0x3D1, 0x39A, 0x39B, 0x39C, 0x39D, 0x39F, 0x3A0, 0x398, 0x3A1,
                                   0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
const char32_t kSymbolLower[26] = {0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9,
                                   0x3D5, 0x3BA, 0x3BB, 0x3BC, 0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1,
                                   0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};

// cairo and fontconfig keep their font caches for the life of the process;
// handing them back at exit keeps leak checkers quiet about memory that is
// not ours.
void releaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

bool cachesStay = false;

void releaseFontCachesAtExit() {
    if (cachesStay) return;
    static const bool registered = std::atexit(releaseFontCaches) == 0;
    (void)registered;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

void leaveFontCachesAtExit() { cachesStay = true; }
void releaseFontCachesNow() { releaseFontCaches(); }

std::string toUtf8(const char* text, bool symbol) {
    std::string out;
    if (!text) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        char32_t c = *p;
        if (symbol && c >= 'A' && c <= 'Z') {
            c = kSymbolUpper[c - 'A'];
        } else if (symbol && c >= 'a' && c <= 'z') {
            c = kSymbolLower[c - 'a'];
        } else if (c >= 0x80 && c < 0xA0) {
            c = kCp1252High[c - 0x80];
            if (c == 0) c = 0xFFFD;
        } else if (c < 0x20) {
            c = ' ';  // a single line shows control characters as blanks
        }
        appendUtf8(out, c);
    }
    return out;
}

bool isSymbolFace(const FontSpec& font) {
    return font.face && std::strcmp(font.face, "Symbol") == 0;
}

void selectFont(cairo_t* cr, const FontSpec& font) {
    releaseFontCachesAtExit();
    // Linux has no Symbol face; DejaVu Sans carries all the Greek letters.
    const char* face = isSymbolFace(font) ? "DejaVu Sans" : (font.face ? font.face : "Arial");
    cairo_select_font_face(cr, face, font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.weight >= 600 ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.height > 0 ? font.height : 12);
    // Whole-pixel advances, as GDI lays text out.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace platform::cairo_text

namespace platform::cairo_draw {

std::string servingFamily(const char* face) {
    cairo_text::releaseFontCachesAtExit();
    std::string family;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face));
    if (!pattern) return family;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            family = reinterpret_cast<const char*>(name);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return family;
}

}  // namespace platform::cairo_draw

namespace platform::cairo_text {

int textAdvance(cairo_t* cr, const FontSpec& font, const char* text) {
    const std::string utf8 = toUtf8(text, isSymbolFace(font));
    cairo_save(cr);
    selectFont(cr, font);
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);
    cairo_restore(cr);
    return static_cast<int>(std::lround(te.x_advance));
}

void drawLine(cairo_t* cr, const FontSpec& font, const char* text, const Rect& r, TextAlign align,
              const Colour* opaqueBackground, Colour textColour) {
    const std::string utf8 = toUtf8(text, isSymbolFace(font));
    selectFont(cr, font);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr, utf8.c_str(), &te);

    const int advance = static_cast<int>(std::lround(te.x_advance));
    const int cellHeight = static_cast<int>(std::lround(fe.ascent + fe.descent));
    int x = r.left;
    if (align == TextAlign::centre)
        x = r.left + (r.width() - advance) / 2;
    else if (align == TextAlign::right)
        x = r.right - advance;
    const int top = r.top + (r.height() - cellHeight) / 2;
    const double baseline = top + std::lround(fe.ascent);

    if (opaqueBackground) {
        cairo_set_source_rgb(cr, opaqueBackground->red / 255.0, opaqueBackground->green / 255.0,
                             opaqueBackground->blue / 255.0);
        cairo_rectangle(cr, x, top, advance, cellHeight);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, textColour.red / 255.0, textColour.green / 255.0,
                         textColour.blue / 255.0);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, utf8.c_str());
    if (font.underline) {
        const int thickness = font.height >= 20 ? 2 : 1;
        cairo_rectangle(cr, x, baseline + 1, advance, thickness);
        cairo_fill(cr);
    }
}

}  // namespace platform::cairo_text
