// The editor base that adds the preset panel along the bottom edge: the name
// field, the preset menu, the previous/next rocker, the four file buttons and
// the four A/B memory buttons. It relays their actions to the bank's preset
// operations, keeps the name field and the menu in step with the selected
// preset, and highlights the buttons under the pointer.
#pragma once

#include "CPresetSystemListener.h"
#include "core/editorModel.h"
#include "gui/AEffGUIEditor.h"
#include "presetFileOperations.h"
#include "presetPanel.h"
#include "presetPanelSync.h"

namespace gui {
class COptionMenu;
class CTextEdit;
}  // namespace gui

class CPSOnOffButton;
class CPSRockerSwitch;
class CSaveLoadButton;

class CPresetSystemEditor : public gui::AEffGUIEditor,
                            public CPresetSystemListener,
                            public CPresetPanel {
public:
    // The model outlives the editor.
    explicit CPresetSystemEditor(EditorModel& model);

    // Host's GUI thread: adds the panel to the frame the derived editor built;
    // false without a frame.
    bool open(void* ptr) override;
    // Forgets the panel's controls (the derived editor destroys the frame).
    void close() override;
    // Shows the bank's changes made elsewhere, and the hover pass: the button
    // under the pointer shows its hover picture.
    void idle() override;
    // Edits reach the host only for parameters: the panel's own tags (name
    // field, menu, file buttons) are no parameters a host knows of.
    void beginEdit(int index) override;
    void endEdit(int index) override;
    void hostIdle() override { model.hostIdle(); }
    // The controls show the parameters the panel's own operations changed.
    virtual void showParameterChanges() {}

    // Shows a name in the name field, the menu's current entry and entry 0.
    void displayPresetName(const char* name) override;
    // The user typed a new name: cut to 24 characters, shown, and given to the bank.
    virtual void presetRenamed(const char* text);
    // The user chose a bank slot in the menu.
    virtual void presetChosen(int index, const char* name);

    // CPresetPanel: what the file operations change in the panel.
    void setNameFieldText(const char* text) override;
    void setMenuEntryText(int entry, const char* text) override;
    void selectMenuEntry(int slot) override;

    // Listener side.
    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;
    void loadBank() override;
    void saveBank() override;
    void loadPreset() override;
    void savePreset() override;
    void stepPreset(bool up) override;

    // For hosts that keep the plug-in's bank out of the editor's reach (an LV2
    // UI without instance access): the panel then says so and takes no clicks.
    // So it does without a bank. Takes effect at the next open.
    void setPresetPanelAvailable(bool available) { presetPanelAvailable = available; }
    static constexpr const char* kPanelUnavailableText = "No presets in this host";

    CPresetFileOperations& getFileOperations() { return fileOperations; }
    gui::CTextEdit* getNameField() const { return nameField; }
    gui::COptionMenu* getPresetMenu() const { return presetMenu; }
    CPSRockerSwitch* getPresetRocker() const { return presetRocker; }

    // Tags of the panel's controls.
    enum {
        kNameFieldTag = 43,
        kRockerTag = 44,
        kLoadBankTag = 45,
        kSaveBankTag = 46,
        kLoadPresetTag = 47,
        kSavePresetTag = 48,
        kPresetMenuTag = 49,
        kRecallATag = 50,
        kRecallBTag = 51,
        kStoreATag = 52,
        kStoreBTag = 53
    };

protected:
    // The layout row the panel's bottom edge lies on: the frame's bottom,
    // unless the editor adds more below the panel.
    virtual int panelBottom() const;
    // Clears the eleven control references.
    void forgetPanelControls();
    // The name of a bank slot, "" when there is none.
    void slotName(int slot, char (&name)[25]) const;
    // The selected slot, 0 without a bank.
    int selectedSlot() const;
    // After the panel's own bank operations: whatever else they changed is shown.
    void showBankChanges();

    EditorModel& model;
    CPresetFileOperations fileOperations;
    PresetPanelSync panelSync;
    bool presetPanelAvailable = true;

    gui::CTextEdit* nameField = nullptr;
    gui::COptionMenu* presetMenu = nullptr;
    CPSRockerSwitch* presetRocker = nullptr;
    CSaveLoadButton* loadBankButton = nullptr;
    CSaveLoadButton* saveBankButton = nullptr;
    CSaveLoadButton* loadPresetButton = nullptr;
    CSaveLoadButton* savePresetButton = nullptr;
    CPSOnOffButton* recallAButton = nullptr;
    CPSOnOffButton* recallBButton = nullptr;
    CPSOnOffButton* storeAButton = nullptr;
    CPSOnOffButton* storeBButton = nullptr;
};
