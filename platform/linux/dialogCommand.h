// The command lines of the desktop's dialog tools (zenity, kdialog) for file
// dialogs and messages, and what is done with the path a dialog answers.
#pragma once

#include <string>
#include <vector>

#include "../fileDialog.h"
#include "../messageBox.h"

namespace platform::linux_backend {

enum class DialogTool { zenity, kdialog };

// The program's name as it is looked up on $PATH.
const char* toolProgram(DialogTool tool);

// The filters with the selected one first and the others in their order
// (the tools select the first filter they are given).
std::vector<FileFilter> filtersSelectedFirst(const FileDialogRequest& request);

// The argument vector (program name first) of a file dialog.
std::vector<std::string> fileDialogCommand(DialogTool tool, const FileDialogRequest& request);
// ...of a message with one OK button.
std::vector<std::string> messageCommand(DialogTool tool, const std::string& caption,
                                        const std::string& text, MessageIcon icon);
// ...of the question whether to replace an existing file.
std::vector<std::string> replaceQuestionCommand(DialogTool tool, const std::string& title,
                                                const std::string& path);

// The path in a tool's answer: its first line.
std::string answeredPath(const std::string& output);
// `path` with ".extension" added when its file name has no extension; a
// path without a file name, or an empty extension, is kept as it is.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

// The text shown when neither tool is installed.
std::string missingToolMessage();

}  // namespace platform::linux_backend
