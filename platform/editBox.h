// The native single-line edit box a text field opens over itself while the
// user types (an "EDIT" child window on Windows).
#pragma once

#include <memory>

#include "drawDevice.h"
#include "types.h"

namespace platform {

class Window;

struct EditBoxStyle {
    TextAlign align = TextAlign::left;
    FontSpec font;
    Colour textColour;
    Colour backgroundColour;
    int maxLength = 255;
};

// What the box tells the text field. The handler may destroy the box.
class EditBoxEvents {
public:
    virtual void onEditReturn() = 0;
    virtual void onEditFocusLost() = 0;

protected:
    ~EditBoxEvents() = default;
};

class EditBox {
public:
    // Destroys the box and the font and brush it made; tells nobody.
    virtual ~EditBox() = default;
    // The text as typed so far, cut to size - 1 bytes, zero-terminated.
    virtual void getText(char* buffer, int size) = 0;
};

// Opens a visible box at r (window coordinates) over `window`, holding `text`
// wholly selected, scrolling horizontally, with zero margins, at most
// style.maxLength characters, and the keyboard focus; it takes every key while
// it has the focus. Null if it cannot be made.
std::unique_ptr<EditBox> createEditBox(Window& window, const Rect& r, const char* text,
                                       const EditBoxStyle& style, EditBoxEvents& events);

}  // namespace platform
