// A small message window of the plug-in's own, for when the desktop has no
// dialog tool: a title, lines of text and an OK button.
#pragma once

#include <functional>
#include <string>

namespace platform::linux_backend {

// Shows the window on a connection of its own and waits until the user
// presses OK, Enter, Escape or closes it, calling `whileWaiting` about every
// 20 ms. False when there is no display to show it on.
bool showOwnMessage(const std::string& caption, const std::string& text,
                    const std::function<void()>& whileWaiting);

// For tests: the last message shown this way, and how many were.
struct OwnMessage {
    std::string caption;
    std::string text;
};
const OwnMessage& lastOwnMessage();
int ownMessagesShown();

}  // namespace platform::linux_backend
