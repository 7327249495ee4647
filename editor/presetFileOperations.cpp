#include "presetFileOperations.h"

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/fileDialog.h"
#include "platform/messageBox.h"
#include "core/editorModel.h"
#include "presetPanel.h"
#include "core/programs/wholeFile.h"

namespace {

// Windows takes either separator in a path; Linux only the slash.
#ifdef _WIN32
constexpr const char* kPathSeparators = "\\/";
#else
constexpr const char* kPathSeparators = "/";
#endif

// No preset or bank file comes anywhere near this; anything larger is not ours.
constexpr std::size_t kLargestFileRead = 1 << 20;

constexpr const char* kErrorCaption = "Error...";
constexpr const char* kInvalidFileMessage = "Error #01: Invalid preset file!";
constexpr const char* kNotBankMessage = "Not a bank file!";
constexpr const char* kNotPresetMessage = "Error #02: Not a preset file!";
constexpr const char* kSaveFailedMessage = "Error #03: Could not save file!";

void showError(const char* text) {
    platform::showMessageBox(kErrorCaption, text, platform::MessageIcon::error);
}

// Copies text into a path buffer if it fits with its zero; otherwise the
// buffer keeps what it had.
void remember(char (&buffer)[kPathBufferSize], const std::string& text) {
    if (text.size() >= kPathBufferSize) return;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

}  // namespace

CPresetFileOperations::CPresetFileOperations(EditorModel* model, CPresetPanel* panel)
    : model(model), panel(panel) {
    presetDirectory[0] = 0;
    bankFileName[0] = 0;
    presetFileName[0] = 0;
    std::error_code ec;
    const std::string cwd = std::filesystem::current_path(ec).string();
    if (!ec) remember(presetDirectory, cwd);
}

bool CPresetFileOperations::hasBank() { return model && model->bank(); }

std::optional<std::string> CPresetFileOperations::chooseFile(FileKind kind, bool save) {
    const bool bank = kind == FileKind::bank;
    platform::FileDialogRequest request;
    request.kind = save ? platform::FileDialogRequest::Kind::save
                        : platform::FileDialogRequest::Kind::open;
    request.title = bank ? (save ? "Save bank as..." : "Select bank to load...")
                         : (save ? "Save preset as..." : "Select preset to load...");
    request.filters = {{"All Files", "*.*"},
                       bank ? platform::FileFilter{"Korvane Banks", "*.kvb"}
                            : platform::FileFilter{"Korvane Presets", "*.kvp"}};
    request.selectedFilter = 2;
    request.defaultExtension = bank ? "kvb" : "kvp";
    request.startFolder = presetDirectory;
    char(&fileName)[kPathBufferSize] = bank ? bankFileName : presetFileName;
    request.proposedFileName = fileName;
    request.promptOverwrite = save;
    request.fileMustExist = !save;

    std::optional<std::string> path = platform::showFileDialog(request);
    if (!path) return std::nullopt;
    const std::size_t cut = path->find_last_of(kPathSeparators);
    if (cut == std::string::npos || cut + 1 == path->size()) return std::nullopt;
    // The file is used by its full path; the folder and name are kept only for
    // the next dialog, and the process's current directory is never touched:
    // it belongs to the host.
    remember(presetDirectory, path->substr(0, cut + 1));
    remember(fileName, path->substr(cut + 1));
    return path;
}

presetFiles::ReadResult CPresetFileOperations::applyPresetFile(
    std::span<const unsigned char> file) {
    presetFiles::PresetFile contents;
    const presetFiles::ReadResult result = presetFiles::readPresetFile(file, contents);
    if (result != presetFiles::ReadResult::ok || !hasBank()) return result;
    if (panel) panel->displayPresetName(contents.record.name);
    // Into the selected slot, then selected again as the user's choice.
    model->bank()->loadPresetRecord(contents, model->hostPort());
    return result;
}

presetFiles::ReadResult CPresetFileOperations::applyBankFile(std::span<const unsigned char> file) {
    // Parsed whole before the bank is touched.
    presetFiles::BankFile contents;
    const presetFiles::ReadResult result = presetFiles::readBankFile(file, contents);
    if (result != presetFiles::ReadResult::ok || !hasBank()) return result;
    if (panel) {
        // Menu entry 1 is the separator.
        for (int j = 0; j < contents.recordCount; ++j)
            panel->setMenuEntryText(j == 0 ? 0 : j + 1, contents.records[j].name);
        panel->selectMenuEntry(0);
        panel->setNameFieldText(contents.records[0].name);
    }
    model->bank()->loadBankRecords(contents, model->hostPort());
    return result;
}

void CPresetFileOperations::load(FileKind kind) {
    if (!hasBank()) return;
    const std::optional<std::string> path = chooseFile(kind, false);
    if (!path) return;
    std::vector<unsigned char> bytes;
    const WholeFileRead read = readWholeFile(*path, bytes, kLargestFileRead);
    if (read == WholeFileRead::cannotRead) return;
    if (read == WholeFileRead::tooLarge) {
        showError(kInvalidFileMessage);
        return;
    }
    const presetFiles::ReadResult result =
        kind == FileKind::bank ? applyBankFile(bytes) : applyPresetFile(bytes);
    switch (result) {
        case presetFiles::ReadResult::ok: break;
        case presetFiles::ReadResult::badMagic:
        case presetFiles::ReadResult::tooShort: showError(kInvalidFileMessage); break;
        case presetFiles::ReadResult::wrongKind:
            showError(kind == FileKind::bank ? kNotBankMessage : kNotPresetMessage);
            break;
    }
}

void CPresetFileOperations::save(FileKind kind) {
    if (!hasBank()) return;
    const std::optional<std::string> path = chooseFile(kind, true);
    if (!path) return;
    bool saved;
    ProgramBank& bank = *model->bank();
    if (kind == FileKind::bank)
        saved = replaceFile(*path, bank.saveBank());
    else
        saved = replaceFile(*path, presetFiles::writePresetFile(bank.recordOf(bank.getCurrentPreset())));
    if (!saved) showError(kSaveFailedMessage);
}

void CPresetFileOperations::loadBank() { load(FileKind::bank); }
void CPresetFileOperations::saveBank() { save(FileKind::bank); }
void CPresetFileOperations::loadPreset() { load(FileKind::preset); }
void CPresetFileOperations::savePreset() { save(FileKind::preset); }
