// Text for the cairo backends: 8-bit Windows text converted to UTF-8, the
// font table's faces mapped to faces Linux has, and one line laid out the way
// GDI's single-line DrawText lays it out.
#pragma once

#include <cairo.h>

#include <string>

#include "../drawDevice.h"

namespace platform::cairo_text {

// Inside a host the font caches belong to the whole process (the host may
// draw with cairo too), so the plug-in must not hand them back at exit as
// the tests and tools do; called before the first text is drawn.
void leaveFontCachesAtExit();
// Hands the caches back now; for a program that has finished drawing.
void releaseFontCachesNow();

// Converts Windows-1252 bytes to UTF-8 (cairo refuses invalid UTF-8 and would
// stop drawing altogether). With `symbol` the letters are mapped to the Greek
// ones the Symbol encoding puts at their places.
std::string toUtf8(const char* text, bool symbol);

// True when the face is served through the Symbol mapping.
bool isSymbolFace(const FontSpec& font);

// Selects the face, weight, slant and size of `font` on cr.
void selectFont(cairo_t* cr, const FontSpec& font);

// The width one line of text takes in `font`, in whole pixels, as drawLine
// lays it out; the caller's cr is used for measuring only.
int textAdvance(cairo_t* cr, const FontSpec& font, const char* text);

// Draws one line of text into r as described for DrawDevice::drawText; the
// caller has set the clip and the source colour for the glyphs.
void drawLine(cairo_t* cr, const FontSpec& font, const char* text, const Rect& r, TextAlign align,
              const Colour* opaqueBackground, Colour textColour);

}  // namespace platform::cairo_text
