#include "CTextEdit.h"

#include <cstdio>
#include <cstring>

#include "CDrawContext.h"
#include "CFrame.h"
#include "fontTable.h"
#include "platform/window.h"
#include "scale.h"

namespace gui {

namespace {

void copyText(char* to, const char* from) {
    std::snprintf(to, CTextEdit::kMaxTextLength + 1, "%s", from ? from : "");
}

}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, int tag, const char* text,
                     CBitmap* background, int style)
    : CParamDisplay(size, background, style) {
    this->listener = listener;
    this->tag = tag;
    copyText(this->text, text);
}

CTextEdit::~CTextEdit() = default;

void CTextEdit::setText(const char* newText) {
    char copy[kMaxTextLength + 1];
    copyText(copy, newText);
    if (std::strcmp(copy, text) == 0) return;
    std::memcpy(text, copy, sizeof text);
    setDirty(true);
}

void CTextEdit::getText(char* out) const {
    if (out) std::memcpy(out, text, sizeof text);
}

void CTextEdit::setTextEditConvert(CTextEditStringConvert convert) { editConvert = convert; }

void CTextEdit::setTextEditConvert(CTextEditStringConvert2 convert, void* data) {
    editConvert2 = convert;
    editConvertData = data;
}

void CTextEdit::draw(CDrawContext* context) {
    if (editBox) {
        // The box shows the text while the user types.
        setDirty(false);
        return;
    }
    char shown[kMaxTextLength + 1] = {0};
    char source[kMaxTextLength + 1];
    std::memcpy(source, text, sizeof text);
    if (editConvert2) {
        editConvert2(source, shown, editConvertData);
    } else if (editConvert) {
        editConvert(source, shown);
    } else if (stringConvert2 || stringConvert) {
        valueText(shown, sizeof shown);
    } else {
        std::memcpy(shown, text, sizeof text);
    }
    shown[kMaxTextLength] = 0;
    drawText(context, shown);
}

void CTextEdit::mouse(CDrawContext* context, CPoint&, int buttons) {
    if (!bMouseEnabled) return;
    buttons = currentButtons(context, buttons);
    if (listenerTookModifierClick(context, buttons)) return;
    if (!(buttons & kLButton)) return;
    if (pParentFrame && pParentFrame->getFocusView() == this) return;
    if (style & kDoubleClickStyle) {
        const std::uint32_t now = pParentFrame ? pParentFrame->getTicks() : 0;
        const bool second =
            lastTicks != -1 &&
            static_cast<std::int32_t>(now - static_cast<std::uint32_t>(lastTicks)) <= delta;
        if (!second) {
            lastTicks = static_cast<int>(now);
            return;
        }
        lastTicks = -1;
    }
    beginEdit();
    takeFocus(context);
}

void CTextEdit::takeFocus(CDrawContext*) {
    bWasReturnPressed = false;
    if (editBox) return;
    platform::Window* window = pParentFrame ? pParentFrame->getPlatformWindow() : nullptr;
    if (window) {
        CPoint origin(size.left, size.top);
        localToFrame(origin);
        const double scale = pParentFrame->getScale();
        const platform::Rect where{scaled(origin.h, scale), scaled(origin.v, scale),
                                   scaled(origin.h + size.width(), scale),
                                   scaled(origin.v + size.height(), scale)};
        platform::EditBoxStyle boxStyle;
        boxStyle.align = horiTxtAlign == kLeftText    ? platform::TextAlign::left
                         : horiTxtAlign == kRightText ? platform::TextAlign::right
                                                      : platform::TextAlign::centre;
        const CFontDesc& font = fontDescription(fontID);
        boxStyle.font.face = font.face;
        boxStyle.font.height = scaled(font.size, scale);
        boxStyle.font.weight = (txtFace & kBoldFace) || fontID == kSystemFont ? 700 : 400;
        boxStyle.font.italic = (txtFace & kItalicFace) != 0;
        boxStyle.font.underline = (txtFace & kUnderlineFace) != 0;
        boxStyle.font.decorative = fontID == kSymbolFont;
        boxStyle.textColour = toPlatform(fontColor);
        boxStyle.backgroundColour = toPlatform(backColor);
        boxStyle.maxLength = kMaxTextLength;
        editBox = platform::createEditBox(*window, where, text, boxStyle, *this);
    }
    if (!editBox && pParentFrame && pParentFrame->getFocusView() == this) {
        // Nothing to type into: give the edit back at once.
        pParentFrame->setFocusView(nullptr);
        endEdit();
    }
}

void CTextEdit::loseFocus(CDrawContext* context) {
    if (!editBox) return;
    std::unique_ptr<platform::EditBox> box = std::move(editBox);
    endEdit();
    if (pParentFrame && pParentFrame->getFocusView() == this) pParentFrame->setFocusView(nullptr);

    char typed[kMaxTextLength + 1] = {0};
    box->getText(typed, sizeof typed);
    box.reset();
    const bool changed = std::strcmp(typed, text) != 0;
    std::memcpy(text, typed, sizeof text);
    // The box is gone; the field shows the text again.
    setDirty(true);
    if (changed) {
        if (listener) listener->valueChanged(context, this);
        doIdleStuff();
    }
    if (pParentView)
        pParentView->notify(this, kMsgLooseFocus);
    else if (pParentFrame)
        pParentFrame->notify(this, kMsgLooseFocus);
}

bool CTextEdit::removed(CView* parent) {
    editBox.reset();
    return CParamDisplay::removed(parent);
}

void CTextEdit::endEditing() {
    if (pParentFrame && pParentFrame->getFocusView() == this)
        pParentFrame->setFocusView(nullptr);  // which ends the editing here
    else
        loseFocus(nullptr);
}

void CTextEdit::onEditReturn() {
    bWasReturnPressed = true;
    endEditing();
}

void CTextEdit::onEditFocusLost() { endEditing(); }

}  // namespace gui
