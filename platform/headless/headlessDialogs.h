// Headless dialogs and messages: file dialogs answer from a script, and every
// dialog request and message is recorded for tests to inspect.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "../fileDialog.h"
#include "../messageBox.h"

namespace platform::headless {

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::none;
};

// The next dialog answers with this path, or cancels for nullopt. Answers are
// used in order; a dialog with no answer left cancels.
void queueDialogAnswer(std::optional<std::string> answer);
const std::vector<FileDialogRequest>& dialogRequests();
const std::vector<ShownMessage>& shownMessages();
// Forget the queued answers and the recorded requests, or the recorded messages.
void resetDialogs();
void resetMessages();

}  // namespace platform::headless
