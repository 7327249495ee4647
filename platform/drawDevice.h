// A surface to draw on with the few GDI-style operations the toolkit needs:
// a pen for lines and outlines, a brush for fills, a font with a text colour,
// one clip rectangle, and copies of bitmaps and of other devices' pixels.
// Coordinates are the device's own pixels; the toolkit applies its offsets.
#pragma once

#include <cstdint>

#include "types.h"

namespace platform {

class NativeBitmap;

enum class TextAlign { left, centre, right };
enum class LineStyle { solid, onOffDash };

// A font as GDI describes one. `height` is the character height in pixels (the
// em size); `decorative` selects the decorative family instead of the Swiss one.
// Faces the system lacks are served by the closest metric-compatible face
// ("Arial" by Liberation Sans on Linux; "Symbol" by a face with the Greek
// letters, text mapped as the Symbol encoding maps it).
struct FontSpec {
    const char* face = "Arial";
    int height = 12;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool decorative = false;
};

class DrawDevice {
public:
    virtual ~DrawDevice() = default;

    virtual void setPen(Colour colour, int width, LineStyle style) = 0;
    virtual void setBrush(Colour colour) = 0;
    virtual void setFont(const FontSpec& font) = 0;
    virtual void setTextColour(Colour colour) = 0;
    // Fills the text cell when text is drawn opaquely.
    virtual void setTextBackground(Colour colour) = 0;

    // Lines with the pen. lineTo draws from the current position up to, but not
    // including, `to`, and makes `to` the current position.
    virtual void moveTo(Point to) = 0;
    virtual void lineTo(Point to) = 0;
    // The pixels left <= x < right, top <= y < bottom, with the brush.
    virtual void fillRect(const Rect& r) = 0;
    // A one-pixel outline with the pen, on the outermost pixels inside r.
    virtual void frameRect(const Rect& r) = 0;
    // One line of text (8-bit Windows-1252 bytes), vertically centred in r,
    // aligned inside it, clipped to it; `opaque` fills the text cell with the
    // text background first. No prefix ("&") processing.
    virtual void drawText(const char* text, const Rect& r, TextAlign align, bool opaque) = 0;

    // Limits all drawing to r until the next setClip or resetClip.
    virtual void setClip(const Rect& r) = 0;
    virtual void resetClip() = 0;

    // Copies the area of `bitmap` starting at `source` to `dest` (same size).
    virtual void drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) = 0;
    // The same, leaving out the pixels whose colour equals `key` (alpha ignored).
    virtual void drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                       Colour key) = 0;
    // The same, blended over what is there with a constant opacity (255 opaque).
    virtual void drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                 std::uint8_t alpha) = 0;
    // Copies pixels of another device of the same backend (an offscreen surface
    // or a window) starting at `source` to `dest`.
    virtual void copyFrom(DrawDevice& from, const Rect& dest, Point source) = 0;
};

}  // namespace platform
