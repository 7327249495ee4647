#include "editLine.h"

#include <algorithm>

namespace platform::linux_backend {

EditLine::EditLine(std::string_view text, int maxLength)
    : line(text), limit(std::max(maxLength, 0)) {
    if (static_cast<int>(line.size()) > limit) line.resize(static_cast<std::size_t>(limit));
    selectAll();
}

void EditLine::eraseSelection() {
    const int from = selectionStart();
    line.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(selectionEnd() - from));
    caretAt = anchor = from;
}

void EditLine::insert(std::string_view typed) {
    std::string accepted;
    for (char c : typed)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) accepted += c;
    if (accepted.empty()) return;
    eraseSelection();
    const std::size_t room = static_cast<std::size_t>(limit) - line.size();
    if (accepted.size() > room) accepted.resize(room);
    line.insert(static_cast<std::size_t>(caretAt), accepted);
    caretAt += static_cast<int>(accepted.size());
    anchor = caretAt;
}

void EditLine::backspace() {
    if (!hasSelection() && caretAt > 0) anchor = caretAt - 1;
    eraseSelection();
}

void EditLine::deleteForward() {
    if (!hasSelection() && caretAt < static_cast<int>(line.size())) anchor = caretAt + 1;
    eraseSelection();
}

void EditLine::left(bool extend) {
    if (!extend && hasSelection())
        setCaret(selectionStart(), false);
    else
        setCaret(caretAt - 1, extend);
}

void EditLine::right(bool extend) {
    if (!extend && hasSelection())
        setCaret(selectionEnd(), false);
    else
        setCaret(caretAt + 1, extend);
}

void EditLine::home(bool extend) { setCaret(0, extend); }
void EditLine::end(bool extend) { setCaret(static_cast<int>(line.size()), extend); }

void EditLine::selectAll() {
    anchor = 0;
    caretAt = static_cast<int>(line.size());
}

void EditLine::setCaret(int position, bool extend) {
    caretAt = std::clamp(position, 0, static_cast<int>(line.size()));
    if (!extend) anchor = caretAt;
}

}  // namespace platform::linux_backend
