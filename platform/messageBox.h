// A modal message with one OK button.
#pragma once

#include <string>

namespace platform {

enum class MessageIcon { none, error };

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon);

}  // namespace platform
