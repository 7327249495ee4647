// File dialogs and messages on Linux: the desktop's dialog tool (zenity, else
// kdialog) runs as a child process while the editor keeps repainting; with
// neither installed, a message window of the plug-in's own says what to install.
#include <sys/stat.h>

#include <optional>

#include "../fileDialog.h"
#include "../messageBox.h"
#include "childProcess.h"
#include "dialogCommand.h"
#include "x11MessageWindow.h"
#include "x11Window.h"

namespace platform {

namespace linux_backend {

namespace {

std::optional<DialogTool> installedTool() {
    if (onPath(toolProgram(DialogTool::zenity))) return DialogTool::zenity;
    if (onPath(toolProgram(DialogTool::kdialog))) return DialogTool::kdialog;
    return std::nullopt;
}

// Every open editor answers its paint requests while the dialog is up.
void repaintEditors() {
    for (X11Window* window : std::vector<X11Window*>(openWindows())) window->dispatchOnePaint();
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Both tools answer 0 for OK (or yes) and 1 for cancel (or no).
bool confirmed(const ChildOutcome& outcome) {
    return outcome.started && (outcome.statusKnown ? outcome.exitCode == 0 : !outcome.output.empty());
}

void explainMissingTool() { showOwnMessage("Korvane Brassel", missingToolMessage(), repaintEditors); }

bool askToReplace(DialogTool tool, const std::string& title, const std::string& path) {
    ChildOutcome answer = runChild(replaceQuestionCommand(tool, title, path), repaintEditors);
    // Both tools answer 0 for yes; with an unknown status, replacing is refused.
    return answer.started && answer.statusKnown && answer.exitCode == 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

}  // namespace linux_backend

std::optional<std::string> showFileDialog(const FileDialogRequest& request) {
    using namespace linux_backend;
    const std::optional<DialogTool> tool = installedTool();
    if (!tool) {
        explainMissingTool();
        return std::nullopt;
    }
    const bool save = request.kind == FileDialogRequest::Kind::save;
    FileDialogRequest asked = request;
    // A "no" to replacing a file shows the dialog again, as the system's own does.
    for (int round = 0; round < 8; ++round) {
        const ChildOutcome outcome = runChild(fileDialogCommand(*tool, asked), repaintEditors);
        if (!outcome.started) {
            explainMissingTool();
            return std::nullopt;
        }
        if (!confirmed(outcome)) return std::nullopt;
        const std::string path = answeredPath(outcome.output);
        if (path.empty()) return std::nullopt;
        const std::string full = withDefaultExtension(path, request.defaultExtension);
        if (!save) {
            // A bare name the user typed means the file with the extension, if
            // only that one exists.
            if (!fileExists(path) && full != path && fileExists(full)) return full;
            if (request.fileMustExist && !fileExists(path)) return std::nullopt;
            return path;
        }
        // The tool asked about the name as typed; the extension made a new one.
        if (full != path && request.promptOverwrite && fileExists(full) &&
            !askToReplace(*tool, request.title, full)) {
            asked.startFolder = folderOf(full);
            asked.proposedFileName = nameOf(full);
            continue;
        }
        return full;
    }
    return std::nullopt;
}

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    using namespace linux_backend;
    const std::optional<DialogTool> tool = installedTool();
    if (tool && runChild(messageCommand(*tool, caption, text, icon), repaintEditors).started) return;
    // No tool: the message itself, in a window of our own.
    showOwnMessage(caption, text, repaintEditors);
}

}  // namespace platform
