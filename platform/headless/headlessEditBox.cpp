#include "headlessEditBox.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "headlessWindow.h"

namespace platform {

namespace headless {

namespace {

struct Answer {
    std::string typed;
    EditEnd end;
};

std::deque<Answer>& answers() {
    static std::deque<Answer> queue;
    return queue;
}

std::vector<HeadlessEditBox*>& openBoxes() {
    static std::vector<HeadlessEditBox*> boxes;
    return boxes;
}

EditBoxRecord record;
int created = 0;

}  // namespace

void scriptEditBox(const std::string& typed, EditEnd end) { answers().push_back({typed, end}); }

HeadlessEditBox::HeadlessEditBox(HeadlessWindow& window, const Rect& r, const char* text,
                                 const EditBoxStyle& style, EditBoxEvents& events)
    : window(&window), events(events), contents(text ? text : ""), maxLength(style.maxLength) {
    if (maxLength >= 0 && static_cast<int>(contents.size()) > maxLength) contents.resize(maxLength);
    record = EditBoxRecord{};
    record.rect = r;
    record.initialText = contents;
    record.align = style.align;
    record.fontFace = style.font.face ? style.font.face : "";
    record.fontHeight = style.font.height;
    record.textColour = style.textColour;
    record.backgroundColour = style.backgroundColour;
    record.maxLength = style.maxLength;
    ++created;
    if (!answers().empty()) {
        scripted = true;
        answer = answers().front().typed;
        ending = answers().front().end;
        answers().pop_front();
    }
    window.attachEditBox(this);
    openBoxes().push_back(this);
}

HeadlessEditBox::~HeadlessEditBox() {
    if (window) window->detachEditBox(this);
    auto& boxes = openBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
}

void HeadlessEditBox::getText(char* buffer, int size) {
    if (!buffer || size <= 0) return;
    const std::size_t n = std::min(contents.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, contents.data(), n);
    buffer[n] = 0;
}

void HeadlessEditBox::type(const std::string& typed) {
    contents = typed;
    if (maxLength >= 0 && static_cast<int>(contents.size()) > maxLength) contents.resize(maxLength);
}

void HeadlessEditBox::pressEnter() { events.onEditReturn(); }
void HeadlessEditBox::loseFocus() { events.onEditFocusLost(); }

void HeadlessEditBox::deliverScriptedAnswer() {
    scripted = false;
    type(answer);
    if (ending == EditEnd::enter)
        pressEnter();
    else
        loseFocus();
}

HeadlessEditBox* activeEditBox() { return openBoxes().empty() ? nullptr : openBoxes().back(); }
const EditBoxRecord& lastEditBox() { return record; }
int editBoxesCreated() { return created; }
int liveEditBoxes() { return static_cast<int>(openBoxes().size()); }

void resetEditBoxes() {
    answers().clear();
    record = EditBoxRecord{};
    created = 0;
}

}  // namespace headless

std::unique_ptr<EditBox> createEditBox(Window& window, const Rect& r, const char* text,
                                       const EditBoxStyle& style, EditBoxEvents& events) {
    return std::make_unique<headless::HeadlessEditBox>(static_cast<headless::HeadlessWindow&>(window),
                                                       r, text, style, events);
}

}  // namespace platform
