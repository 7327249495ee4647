// Scripted edit boxes. A test queues what the user will type and how the
// typing ends (Enter or a click elsewhere); each new box takes the next answer
// and delivers it at its window's next processEvents, as the real box's
// messages would arrive. A test can also drive the open box by hand.
#pragma once

#include <string>

#include "../editBox.h"

namespace platform::headless {

class HeadlessWindow;

enum class EditEnd { enter, focusLoss };

void scriptEditBox(const std::string& typed, EditEnd end);

// How the last box was made, kept after it is gone.
struct EditBoxRecord {
    Rect rect;
    std::string initialText;
    TextAlign align = TextAlign::left;
    std::string fontFace;
    int fontHeight = 0;
    Colour textColour;
    Colour backgroundColour;
    int maxLength = 0;
};

class HeadlessEditBox final : public EditBox {
public:
    HeadlessEditBox(HeadlessWindow& window, const Rect& r, const char* text,
                    const EditBoxStyle& style, EditBoxEvents& events);
    ~HeadlessEditBox() override;
    HeadlessEditBox(const HeadlessEditBox&) = delete;
    HeadlessEditBox& operator=(const HeadlessEditBox&) = delete;

    void getText(char* buffer, int size) override;

    // Test side. The two endings may destroy the box.
    void type(const std::string& typed);  // replaces the (selected) text
    void pressEnter();
    void loseFocus();
    const std::string& text() const { return contents; }

    // Backend side.
    bool hasScriptedAnswer() const { return scripted; }
    void deliverScriptedAnswer();
    void windowGone() { window = nullptr; }

private:
    HeadlessWindow* window;
    EditBoxEvents& events;
    std::string contents;
    int maxLength;
    bool scripted = false;
    std::string answer;
    EditEnd ending = EditEnd::enter;
};

// The newest box still open, or null.
HeadlessEditBox* activeEditBox();
const EditBoxRecord& lastEditBox();
int editBoxesCreated();
int liveEditBoxes();
void resetEditBoxes();

}  // namespace platform::headless
