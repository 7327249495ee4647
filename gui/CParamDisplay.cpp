#include "CParamDisplay.h"

#include <cstdio>

#include "CBitmap.h"
#include "CDrawContext.h"

namespace gui {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int style)
    : CControl(size, nullptr, 0, background), style(style) {}

CParamDisplay::~CParamDisplay() = default;

void CParamDisplay::valueText(char* out, int size) const {
    out[0] = 0;
    // A conversion function is handed a buffer of the toolkit's usual 256 bytes.
    char buffer[256] = {0};
    if (stringConvert2)
        stringConvert2(value, buffer, userData);
    else if (stringConvert)
        stringConvert(value, buffer);
    else
        std::snprintf(buffer, sizeof buffer, "%2.2f", static_cast<double>(value));
    buffer[sizeof buffer - 1] = 0;
    std::snprintf(out, static_cast<std::size_t>(size), "%s", buffer);
}

void CParamDisplay::draw(CDrawContext* context) {
    char text[256];
    valueText(text, sizeof text);
    drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBack) {
    setDirty(false);
    if (style & kNoDrawStyle) return;

    CBitmap* back = newBack ? newBack : pBackground;
    if (back) {
        if (bTransparencyEnabled)
            back->drawTransparent(context, size, backOffset);
        else
            back->draw(context, size, backOffset);
    } else if (!bTransparencyEnabled) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!(style & (k3DIn | k3DOut | kNoFrame))) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }

    if (style & (k3DIn | k3DOut)) {
        const CColor topLeft = (style & k3DIn) ? backColor : frameColor;
        const CColor bottomRight = (style & k3DIn) ? frameColor : backColor;
        const int right = size.right - 1;
        const int bottom = size.bottom - 1;
        context->setLineWidth(1);
        context->setFrameColor(topLeft);
        context->moveTo(CPoint(size.left, bottom));
        context->lineTo(CPoint(size.left, size.top));
        context->lineTo(CPoint(right, size.top));
        context->setFrameColor(bottomRight);
        context->moveTo(CPoint(right, size.top));
        context->lineTo(CPoint(right, bottom));
        context->lineTo(CPoint(size.left - 1, bottom));
    }

    if ((style & kNoTextStyle) || !text || !*text) return;
    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip = size;
    clip.bound(oldClip);
    context->setClipRect(clip);
    context->setFont(fontID, 0, txtFace);
    context->setFillColor(backColor);
    if (style & kShadowText) {
        CRect shadow = size;
        shadow.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawString(text, shadow, !bTextTransparencyEnabled, horiTxtAlign);
    }
    context->setFontColor(fontColor);
    context->drawString(text, size, !bTextTransparencyEnabled, horiTxtAlign);
    context->setClipRect(oldClip);
}

namespace {
template <typename T>
bool store(T& field, const T& v) {
    if (field == v) return false;
    field = v;
    return true;
}
}  // namespace

void CParamDisplay::setFont(int id) {
    if (store(fontID, id)) setDirty();
}
void CParamDisplay::setFontColor(CColor color) {
    if (store(fontColor, color)) setDirty();
}
void CParamDisplay::setBackColor(CColor color) {
    if (store(backColor, color)) setDirty();
}
void CParamDisplay::setFrameColor(CColor color) {
    if (store(frameColor, color)) setDirty();
}
void CParamDisplay::setShadowColor(CColor color) {
    if (store(shadowColor, color)) setDirty();
}
void CParamDisplay::setHoriAlign(CHoriTxtAlign hAlign) {
    if (store(horiTxtAlign, hAlign)) setDirty();
}
void CParamDisplay::setStringConvert(CParamDisplayValueToStringProc2 convert, void* data) {
    // Both are stored whatever the first answers.
    const bool convertChanged = store(stringConvert2, convert);
    const bool dataChanged = store(userData, data);
    if (convertChanged || dataChanged) setDirty();
}
void CParamDisplay::setStringConvert(CParamDisplayValueToStringProc convert) {
    if (store(stringConvert, convert)) setDirty();
}
void CParamDisplay::setString2FloatConvert(CParamDisplayStringToValueProc convert) {
    string2FloatConvert = convert;
}
void CParamDisplay::setStyle(int s) {
    if (store(style, s)) setDirty();
}
void CParamDisplay::setTxtFace(int face) {
    if (store(txtFace, face)) setDirty();
}
void CParamDisplay::setTextTransparency(bool state) {
    if (store(bTextTransparencyEnabled, state)) setDirty();
}

}  // namespace gui
