// Loading and saving preset and bank files through the system's file dialog:
// the four operations behind the preset panel's file buttons, and the folder
// and file names each next dialog starts from.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/programs/presetFiles.h"

class CPresetPanel;
class EditorModel;

constexpr int kPathBufferSize = 260;

class CPresetFileOperations {
public:
    // presetDirectory starts as the process's current directory.
    explicit CPresetFileOperations(EditorModel* model = nullptr, CPresetPanel* panel = nullptr);

    void setModel(EditorModel* newModel) { model = newModel; }
    void setPanel(CPresetPanel* newPanel) { panel = newPanel; }

    // Editor's GUI thread, from the file buttons; the dialogs are modal.
    void loadBank();
    void saveBank();
    void loadPreset();
    void savePreset();

    // Applies a whole file's bytes to the bank, the panel and the parameters,
    // as the user's choice. Anything but ok leaves everything as it was.
    presetFiles::ReadResult applyPresetFile(std::span<const unsigned char> file);
    presetFiles::ReadResult applyBankFile(std::span<const unsigned char> file);

    // The folder of the last file chosen, the start of every dialog.
    char presetDirectory[kPathBufferSize];
    // The file names (without folder) last chosen; each pre-fills its kind's dialogs.
    char bankFileName[kPathBufferSize];
    char presetFileName[kPathBufferSize];

private:
    enum class FileKind { bank, preset };
    bool hasBank();
    // Asks for a file, records its folder and name, and answers its full path.
    std::optional<std::string> chooseFile(FileKind kind, bool save);
    void load(FileKind kind);
    void save(FileKind kind);

    EditorModel* model;
    CPresetPanel* panel;
};
