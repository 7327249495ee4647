#include "dialogCommand.h"

namespace platform::linux_backend {

namespace {

// Windows writes "everything" as "*.*"; on Linux that would mean names with a dot.
std::string linuxPattern(const std::string& pattern) {
    return pattern == "*.*" ? std::string("*") : pattern;
}

std::string startPath(const FileDialogRequest& request) {
    std::string path = request.startFolder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + request.proposedFileName;
}

std::size_t nameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

const char* toolProgram(DialogTool tool) {
    return tool == DialogTool::zenity ? "zenity" : "kdialog";
}

std::vector<FileFilter> filtersSelectedFirst(const FileDialogRequest& request) {
    std::vector<FileFilter> ordered;
    const int selected = request.selectedFilter - 1;
    if (selected >= 0 && selected < static_cast<int>(request.filters.size()))
        ordered.push_back(request.filters[static_cast<std::size_t>(selected)]);
    for (std::size_t i = 0; i < request.filters.size(); ++i)
        if (static_cast<int>(i) != selected) ordered.push_back(request.filters[i]);
    return ordered;
}

std::vector<std::string> fileDialogCommand(DialogTool tool, const FileDialogRequest& request) {
    const bool save = request.kind == FileDialogRequest::Kind::save;
    const std::vector<FileFilter> filters = filtersSelectedFirst(request);
    std::vector<std::string> argv{toolProgram(tool)};
    if (tool == DialogTool::zenity) {
        argv.push_back("--file-selection");
        argv.push_back("--title=" + request.title);
        if (save) {
            argv.push_back("--save");
            if (request.promptOverwrite) argv.push_back("--confirm-overwrite");
        }
        const std::string start = startPath(request);
        if (!start.empty()) argv.push_back("--filename=" + start);
        for (const FileFilter& f : filters)
            argv.push_back("--file-filter=" + f.description + " | " + linuxPattern(f.pattern));
        return argv;
    }
    argv.push_back("--title");
    argv.push_back(request.title);
    argv.push_back(save ? "--getsavefilename" : "--getopenfilename");
    const std::string start = startPath(request);
    argv.push_back(start.empty() ? std::string(".") : start);
    std::string filterText;
    for (const FileFilter& f : filters) {
        if (!filterText.empty()) filterText += '\n';
        filterText += f.description + " (" + linuxPattern(f.pattern) + ")";
    }
    if (!filterText.empty()) argv.push_back(filterText);
    return argv;
}

std::vector<std::string> messageCommand(DialogTool tool, const std::string& caption,
                                        const std::string& text, MessageIcon icon) {
    if (tool == DialogTool::zenity)
        return {"zenity", icon == MessageIcon::error ? "--error" : "--info", "--title=" + caption,
                "--text=" + text, "--no-markup"};
    return {"kdialog", "--title", caption, icon == MessageIcon::error ? "--error" : "--msgbox",
            text};
}

std::vector<std::string> replaceQuestionCommand(DialogTool tool, const std::string& title,
                                                const std::string& path) {
    const std::string text =
        path.substr(nameStart(path)) + " already exists.\nDo you want to replace it?";
    if (tool == DialogTool::zenity)
        return {"zenity", "--question", "--title=" + title, "--text=" + text, "--no-markup"};
    return {"kdialog", "--title", title, "--warningyesno", text};
}

std::string answeredPath(const std::string& output) {
    const std::size_t end = output.find('\n');
    return end == std::string::npos ? output : output.substr(0, end);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    const std::size_t start = nameStart(path);
    if (extension.empty() || start >= path.size()) return path;
    if (path.find('.', start) != std::string::npos) return path;
    return path + "." + extension;
}

std::string missingToolMessage() {
    return "Korvane Brassel shows its file dialogs and messages with zenity or kdialog,\n"
           "and neither is installed.\n"
           "Please install the package \"zenity\" (or \"kdialog\"), for instance:\n"
           "    sudo apt-get install zenity";
}

}  // namespace platform::linux_backend
