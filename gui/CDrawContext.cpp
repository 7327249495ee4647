#include "CDrawContext.h"

#include "CFrame.h"
#include "platform/input.h"
#include "platform/window.h"
#include "scale.h"

namespace gui {

platform::Colour toPlatform(CColor color) {
    return platform::Colour{color.red, color.green, color.blue, color.alpha};
}

CDrawContext::CDrawContext(CFrame* frame, platform::DrawDevice* device, platform::Window* window)
    : device(device), window(window), frame(frame) {
    if (frame) scale = frame->getScale();
    if (!this->window && frame) this->window = frame->getPlatformWindow();
    if (!this->device && this->window) {
        ownDevice = this->window->createDevice();
        this->device = ownDevice.get();
    }
    if (this->window) {
        const platform::Point origin = this->window->screenOrigin();
        screenOffset = CPoint(origin.x, origin.y);
    }
    clipRect = frame ? CRect(0, 0, frame->getWidth(), frame->getHeight()) : CRect(0, 0, 1000, 1000);
    setFont(kSystemFont, 0, kBoldFace);
    if (this->device) this->device->setTextBackground(toPlatform(fillColor));
}

CDrawContext::~CDrawContext() = default;

platform::Rect CDrawContext::toDevice(const CRect& rect) const {
    return platform::Rect{scaled(rect.left + offset.h, scale), scaled(rect.top + offset.v, scale),
                          scaled(rect.right + offset.h, scale),
                          scaled(rect.bottom + offset.v, scale)};
}

platform::Point CDrawContext::toDevice(const CPoint& point) const {
    return platform::Point{scaled(point.h + offset.h, scale), scaled(point.v + offset.v, scale)};
}

void CDrawContext::applyPen() {
    if (penValid || !device) return;
    device->setPen(toPlatform(frameColor), scaled(frameWidth, scale),
                   lineStyle == kLineSolid ? platform::LineStyle::solid
                                           : platform::LineStyle::onOffDash);
    penValid = true;
}

void CDrawContext::moveTo(const CPoint& point) {
    if (device) device->moveTo(toDevice(point));
}

void CDrawContext::lineTo(const CPoint& point) {
    if (!device) return;
    applyPen();
    device->lineTo(toDevice(point));
}

void CDrawContext::fillRect(const CRect& rect) {
    if (!device) return;
    device->setBrush(toPlatform(fillColor));
    device->fillRect(toDevice(rect));
}

void CDrawContext::drawRect(const CRect& rect) {
    if (!device) return;
    applyPen();
    device->frameRect(toDevice(rect));
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque,
                              CHoriTxtAlign hAlign) {
    if (!device || !text) return;
    CRect inside = rect;
    platform::TextAlign align = platform::TextAlign::centre;
    if (hAlign == kLeftText) {
        align = platform::TextAlign::left;
        inside.left += 1;
    } else if (hAlign == kRightText) {
        align = platform::TextAlign::right;
    }
    const platform::Rect r = toDevice(inside);
    device->setTextColour(toPlatform(fontColor));
    device->setTextBackground(toPlatform(fillColor));
    device->drawText(text, r, align, opaque);
}

void CDrawContext::setFrameColor(CColor color) {
    if (color == frameColor) return;
    frameColor = color;
    penValid = false;
}

void CDrawContext::setLineWidth(int width) {
    if (width == frameWidth) return;
    frameWidth = width;
    penValid = false;
}

void CDrawContext::setLineStyle(CLineStyle style) {
    if (style == lineStyle) return;
    lineStyle = style;
    penValid = false;
}

void CDrawContext::setFillColor(CColor color) { fillColor = color; }
void CDrawContext::setFontColor(CColor color) { fontColor = color; }

void CDrawContext::setFont(int id, int, int style) {
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    const CFontDesc& desc = fontDescription(id);
    if (id == fontId && desc.size == fontSize && style == fontStyle) return;
    fontId = id;
    fontSize = desc.size;
    fontStyle = style;
    if (!device) return;
    platform::FontSpec font;
    font.face = desc.face;
    // Text is set at the scaled size, never stretched.
    font.height = scaled(desc.size, scale);
    font.weight = (style & kBoldFace) || id == kSystemFont ? 700 : 400;
    font.italic = (style & kItalicFace) != 0;
    font.underline = (style & kUnderlineFace) != 0;
    font.decorative = id == kSymbolFont;
    device->setFont(font);
}

void CDrawContext::setClipRect(const CRect& clip) {
    clipRect = clip;
    clipRect.offset(offset.h, offset.v);
    if (device) device->setClip(toDevice(clip));
}

CRect& CDrawContext::getClipRect(CRect& clip) const {
    clip = clipRect;
    clip.offset(-offset.h, -offset.v);
    return clip;
}

void CDrawContext::resetClipRect() {
    clipRect = frame ? CRect(0, 0, frame->getWidth(), frame->getHeight()) : CRect(0, 0, 1000, 1000);
    if (device) device->resetClip();
}

int CDrawContext::getMouseButtons() { return platform::input().buttonState(); }

void CDrawContext::getMouseLocation(CPoint& point) {
    const platform::Point p = platform::input().cursorPosition();
    point = CPoint(unscaled(p.x - screenOffset.h, scale), unscaled(p.y - screenOffset.v, scale));
}

}  // namespace gui
