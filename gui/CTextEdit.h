// A single-line text field: shows its text like a display and, when clicked,
// opens the platform's edit box over itself. Enter or a click elsewhere ends
// the editing; the listener hears of it only when the text changed.
#pragma once

#include <memory>

#include "CParamDisplay.h"
#include "platform/editBox.h"

namespace gui {

using CTextEditStringConvert = void (*)(char* in, char* out);
using CTextEditStringConvert2 = void (*)(char* in, char* out, void* userData);

class CTextEdit : public CParamDisplay, private platform::EditBoxEvents {
public:
    static constexpr int kMaxTextLength = 255;

    CTextEdit(const CRect& size, CControlListener* listener, int tag, const char* text = nullptr,
              CBitmap* background = nullptr, int style = 0);
    // Closes an open edit box without telling anyone.
    ~CTextEdit() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int buttons = -1) override;
    // Opens the edit box over the field.
    void takeFocus(CDrawContext* context = nullptr) override;
    // Ends editing: reads the text back, closes the box, tells the listener if
    // the text changed, and sends "LooseFocus" to the container.
    void loseFocus(CDrawContext* context = nullptr) override;
    bool removed(CView* parent) override;

    // Copies at most 255 characters; marks the field dirty when the text changes.
    virtual void setText(const char* text);
    virtual void getText(char* text) const;
    virtual void setTextEditConvert(CTextEditStringConvert convert);
    virtual void setTextEditConvert(CTextEditStringConvert2 convert, void* userData);

    const char* getText() const { return text; }
    bool isEditing() const { return editBox != nullptr; }
    bool wasReturnPressed() const { return bWasReturnPressed; }

private:
    void onEditReturn() override;
    void onEditFocusLost() override;
    void endEditing();

    char text[kMaxTextLength + 1] = {0};
    std::unique_ptr<platform::EditBox> editBox;
    bool bWasReturnPressed = false;
    CTextEditStringConvert editConvert = nullptr;
    CTextEditStringConvert2 editConvert2 = nullptr;
    void* editConvertData = nullptr;
};

}  // namespace gui
