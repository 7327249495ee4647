#include "headlessDialogs.h"

#include <deque>

namespace platform::headless {

namespace {

// Dialogs are modal and run on the GUI thread only, as do the tests that script them.
struct DialogScript {
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    std::vector<ShownMessage> messages;
};

DialogScript& script() {
    static DialogScript s;
    return s;
}

}  // namespace

void queueDialogAnswer(std::optional<std::string> answer) {
    script().answers.push_back(std::move(answer));
}

const std::vector<FileDialogRequest>& dialogRequests() { return script().requests; }
const std::vector<ShownMessage>& shownMessages() { return script().messages; }

void resetDialogs() {
    script().answers.clear();
    script().requests.clear();
}

void resetMessages() { script().messages.clear(); }

}  // namespace platform::headless

namespace platform {

std::optional<std::string> showFileDialog(const FileDialogRequest& request) {
    auto& s = headless::script();
    s.requests.push_back(request);
    if (s.answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(s.answers.front());
    s.answers.pop_front();
    return answer;
}

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    headless::script().messages.push_back({caption, text, icon});
}

}  // namespace platform
