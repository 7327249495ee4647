// The system's file chooser, for opening and saving the user's files.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FileFilter {
    std::string description;  // "Korvane Banks"
    std::string pattern;      // "*.kvb"
};

struct FileDialogRequest {
    enum class Kind { open, save };
    Kind kind = Kind::open;
    std::string title;
    std::vector<FileFilter> filters;  // in the order shown
    int selectedFilter = 1;           // 1-based index into filters
    std::string defaultExtension;     // without the dot, added to a bare name on saving
    std::string startFolder;
    std::string proposedFileName;
    bool promptOverwrite = false;  // save: ask before replacing an existing file
    bool fileMustExist = false;    // open: only existing files in existing folders
};

// Shows the dialog modally; the chosen full path, or nothing when cancelled.
std::optional<std::string> showFileDialog(const FileDialogRequest& request);

}  // namespace platform
