#include "gdiDevice.h"

#include <algorithm>

#include "bitmapLibrary.h"
#include "gdiBitmap.h"

namespace platform::windows {

namespace {

RECT toRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Limits a copy to the part that lies inside the source picture, as a copy
// from outside a picture must leave the destination untouched.
bool clipToSource(Rect& dest, Point& source, int width, int height) {
    const int left = std::max(0, -source.x);
    const int top = std::max(0, -source.y);
    const int right = std::min(dest.width(), width - source.x);
    const int bottom = std::min(dest.height(), height - source.y);
    if (right <= left || bottom <= top) return false;
    dest = Rect{dest.left + left, dest.top + top, dest.left + right, dest.top + bottom};
    source = Point{source.x + left, source.y + top};
    return true;
}

}  // namespace

GdiDevice::GdiDevice(HDC dc, HWND releaseTo)
    : hdc(dc), releaseTo(releaseTo), savedState(dc ? SaveDC(dc) : 0) {
    if (!hdc) return;
    SetBkMode(hdc, TRANSPARENT);
    SetTextAlign(hdc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

GdiDevice::~GdiDevice() {
    if (sourceDc) {
        SelectObject(sourceDc, sourceDefault);
        DeleteDC(sourceDc);
    }
    if (hdc) {
        // Puts back the context's own pen, brush, font, clip and modes, so that
        // ours can be deleted.
        RestoreDC(hdc, savedState);
        if (releaseTo) ReleaseDC(releaseTo, hdc);
    }
    for (HGDIOBJ made : {pen, brush, font})
        if (made) DeleteObject(made);
    if (outlineBrush) DeleteObject(outlineBrush);
}

void GdiDevice::replace(HGDIOBJ& slot, HGDIOBJ made) {
    if (!made) return;
    SelectObject(hdc, made);
    if (slot) DeleteObject(slot);
    slot = made;
}

void GdiDevice::setPen(Colour colour, int width, LineStyle style) {
    if (!hdc) return;
    LOGPEN spec;
    // Dashes exist only for one-pixel pens; wider ones are drawn solid.
    spec.lopnStyle = style == LineStyle::onOffDash ? PS_DOT : PS_SOLID;
    spec.lopnWidth = POINT{std::max(width, 1), 0};
    spec.lopnColor = toColorRef(colour);
    replace(pen, CreatePenIndirect(&spec));
    if (colour.red != penColour.red || colour.green != penColour.green ||
        colour.blue != penColour.blue)
        outlineBrushValid = false;
    penColour = colour;
}

void GdiDevice::setBrush(Colour colour) {
    if (!hdc) return;
    LOGBRUSH spec;
    spec.lbStyle = BS_SOLID;
    spec.lbColor = toColorRef(colour);
    spec.lbHatch = 0;
    replace(brush, CreateBrushIndirect(&spec));
}

void GdiDevice::setFont(const FontSpec& spec) {
    if (!hdc) return;
    FontKey key = FontKey::of(spec);
    if (font && key == fontKey) return;
    HFONT made = createFont(key);
    if (!made) return;
    replace(font, made);
    fontKey = std::move(key);
}

void GdiDevice::moveTo(Point to) {
    if (hdc) MoveToEx(hdc, to.x, to.y, nullptr);
}

void GdiDevice::lineTo(Point to) {
    if (!hdc) return;
    if (!pen) setPen(penColour, 1, LineStyle::solid);
    LineTo(hdc, to.x, to.y);
}

void GdiDevice::fillRect(const Rect& r) {
    if (!hdc || r.empty()) return;
    if (!brush) setBrush(Colour{0, 0, 0, 255});
    const RECT area = toRect(r);
    FillRect(hdc, &area, static_cast<HBRUSH>(brush));
}

void GdiDevice::frameRect(const Rect& r) {
    if (!hdc || r.empty()) return;
    if (!outlineBrushValid) {
        if (outlineBrush) DeleteObject(outlineBrush);
        outlineBrush = CreateSolidBrush(toColorRef(penColour));
        outlineBrushValid = outlineBrush != nullptr;
    }
    const RECT area = toRect(r);
    if (outlineBrush) FrameRect(hdc, &area, outlineBrush);
}

void GdiDevice::drawText(const char* text, const Rect& r, TextAlign align, bool opaque) {
    if (!hdc || !text || r.empty()) return;
    if (!font) setFont(FontSpec{});
    RECT area = toRect(r);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    format |= align == TextAlign::left ? DT_LEFT : align == TextAlign::right ? DT_RIGHT : DT_CENTER;
    SetTextColor(hdc, toColorRef(textColour));
    SetBkColor(hdc, toColorRef(textBackground));
    SetBkMode(hdc, opaque ? OPAQUE : TRANSPARENT);
    DrawTextA(hdc, text, -1, &area, format);
    SetBkMode(hdc, TRANSPARENT);
}

void GdiDevice::setClip(const Rect& r) {
    if (!hdc) return;
    HRGN region =
        CreateRectRgn(r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom));
    if (!region) return;
    SelectClipRgn(hdc, region);  // the context keeps a copy
    DeleteObject(region);
}

void GdiDevice::resetClip() {
    if (hdc) SelectClipRgn(hdc, nullptr);
}

// A bitmap can be selected into one device at a time, and the same picture
// is drawn into the offscreen surface and the window: it is held only for
// the length of one copy.
GdiDevice::Source::Source(GdiDevice& device, HBITMAP bitmap) : device(device) {
    if (!device.sourceDc) device.sourceDc = CreateCompatibleDC(device.hdc);
    if (!device.sourceDc) return;
    HGDIOBJ previous = SelectObject(device.sourceDc, bitmap);
    if (!previous) return;
    if (!device.sourceDefault) device.sourceDefault = previous;
    dc = device.sourceDc;
}

GdiDevice::Source::~Source() {
    if (dc) SelectObject(dc, device.sourceDefault);
}

void GdiDevice::drawBitmap(const NativeBitmap& bitmap, const Rect& dest, Point source) {
    if (!hdc) return;
    const auto& picture = static_cast<const GdiBitmap&>(bitmap);
    Rect to = dest;
    if (!clipToSource(to, source, picture.width(), picture.height())) return;
    Source held(*this, picture.handle());
    HDC from = held.dc;
    if (!from) return;
    BitBlt(hdc, to.left, to.top, to.width(), to.height(), from, source.x, source.y, SRCCOPY);
}

void GdiDevice::drawBitmapTransparent(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                      Colour key) {
    if (!hdc) return;
    const auto& picture = static_cast<const GdiBitmap&>(bitmap);
    Rect to = dest;
    if (!clipToSource(to, source, picture.width(), picture.height())) return;
    Source held(*this, picture.handle());
    HDC from = held.dc;
    if (!from) return;
    const COLORREF keyColour = toColorRef(key);
    if (TransparentBltFunction transparent = transparentBlt()) {
        transparent(hdc, to.left, to.top, to.width(), to.height(), from, source.x, source.y,
                    to.width(), to.height(), keyColour);
        return;
    }
    // Without the system's transparent copy: a one-bit mask of the key colour
    // and three copies, ((destination ^ picture) & mask) ^ picture, which keeps
    // the destination where the mask is white and gives the picture elsewhere.
    HBITMAP mask = picture.mask(from, keyColour);
    HDC maskDc = mask ? CreateCompatibleDC(hdc) : nullptr;
    if (!maskDc) return;
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    // A monochrome source is expanded with the destination's text colour for
    // black and its background colour for white.
    const COLORREF oldBackground = SetBkColor(hdc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    const int w = to.width(), h = to.height();
    BitBlt(hdc, to.left, to.top, w, h, from, source.x, source.y, SRCINVERT);
    BitBlt(hdc, to.left, to.top, w, h, maskDc, source.x, source.y, SRCAND);
    BitBlt(hdc, to.left, to.top, w, h, from, source.x, source.y, SRCINVERT);
    SetBkColor(hdc, oldBackground);
    SetTextColor(hdc, oldText);
    SelectObject(maskDc, oldMask);
    DeleteDC(maskDc);
}

void GdiDevice::drawBitmapAlpha(const NativeBitmap& bitmap, const Rect& dest, Point source,
                                std::uint8_t alpha) {
    if (!hdc || alpha == 0) return;
    const auto& picture = static_cast<const GdiBitmap&>(bitmap);
    Rect to = dest;
    if (!clipToSource(to, source, picture.width(), picture.height())) return;
    Source held(*this, picture.handle());
    HDC from = held.dc;
    if (!from) return;
    AlphaBlendFunction blend = alphaBlend();
    if (!blend || alpha == 255) {
        // Without the system's alpha copy the picture is copied as it is.
        BitBlt(hdc, to.left, to.top, to.width(), to.height(), from, source.x, source.y, SRCCOPY);
        return;
    }
    const BLENDFUNCTION function{AC_SRC_OVER, 0, alpha, 0};
    blend(hdc, to.left, to.top, to.width(), to.height(), from, source.x, source.y, to.width(),
          to.height(), function);
}

void GdiDevice::copyFrom(DrawDevice& from, const Rect& dest, Point source) {
    auto& other = static_cast<GdiDevice&>(from);
    if (!hdc || !other.hdc || dest.empty()) return;
    BitBlt(hdc, dest.left, dest.top, dest.width(), dest.height(), other.hdc, source.x, source.y,
           SRCCOPY);
}

}  // namespace platform::windows
