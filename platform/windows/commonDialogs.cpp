// The common file dialogs and message boxes.
#include <windows.h>

#include <commdlg.h>

#include <cstring>

#include "../fileDialog.h"
#include "../messageBox.h"
#include "win32Window.h"

namespace platform {

std::optional<std::string> showFileDialog(const FileDialogRequest& request) {
    // "description\0pattern\0" for each filter, and one more zero at the end.
    std::string filters;
    for (const FileFilter& filter : request.filters) {
        filters += filter.description;
        filters += '\0';
        filters += filter.pattern;
        filters += '\0';
    }
    filters += '\0';

    char file[MAX_PATH] = {0};
    if (request.proposedFileName.size() < sizeof file)
        std::memcpy(file, request.proposedFileName.c_str(), request.proposedFileName.size() + 1);

    OPENFILENAMEA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    // The editor's window whose button asked; the system disables its
    // top-level window while the dialog is open.
    dialog.hwndOwner = windows::windowHandlingPress();
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.selectedFilter);
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = request.startFolder.empty() ? nullptr : request.startFolder.c_str();
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr
                                                           : request.defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    const bool open = request.kind == FileDialogRequest::Kind::open;
    if (open && request.fileMustExist) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    if (!open && request.promptOverwrite) dialog.Flags |= OFN_OVERWRITEPROMPT;

    const BOOL chosen = open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (!chosen || !file[0]) return std::nullopt;
    return std::string(file);
}

void showMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(),
                MB_OK | (icon == MessageIcon::error ? MB_ICONERROR : 0));
}

}  // namespace platform
