// The text of a single-line edit box and what the keys do to it: a caret, a
// selection, a length limit. Positions are byte offsets (8-bit text).
#pragma once

#include <string>
#include <string_view>

namespace platform::linux_backend {

class EditLine {
public:
    // Opens with the whole text selected, cut to `maxLength` characters.
    EditLine(std::string_view text, int maxLength);

    const std::string& text() const { return line; }
    int caret() const { return caretAt; }
    int selectionStart() const { return caretAt < anchor ? caretAt : anchor; }
    int selectionEnd() const { return caretAt < anchor ? anchor : caretAt; }
    bool hasSelection() const { return caretAt != anchor; }

    // Replaces the selection by `typed`, as far as the limit allows; control
    // characters are dropped.
    void insert(std::string_view typed);
    // Deletes the selection, else the character before (backspace) or after
    // the caret.
    void backspace();
    void deleteForward();
    // Caret movements; `extend` (Shift) grows the selection instead of
    // collapsing it.
    void left(bool extend);
    void right(bool extend);
    void home(bool extend);
    void end(bool extend);
    void selectAll();
    void setCaret(int position, bool extend);

private:
    void eraseSelection();
    std::string line;
    int limit;
    int caretAt = 0;
    int anchor = 0;
};

}  // namespace platform::linux_backend
