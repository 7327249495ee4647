// What the preset system asks of the editor's preset panel. The editor
// implements it and registers itself with the effect and the file operations
// while it exists; without a panel nothing is shown.
#pragma once

class CPresetPanel {
public:
    virtual ~CPresetPanel() = default;
    // Shows a name in the name field, the menu's current entry and menu entry 0.
    virtual void displayPresetName(const char* name) = 0;
    // Shows a text in the name field only.
    virtual void setNameFieldText(const char* text) = 0;
    // Sets the text of a menu entry by raw position: 0 is the working program,
    // 1 the separator, 2 to 33 the bank slots 1 to 32. Ignored while the menu is closed.
    virtual void setMenuEntryText(int entry, const char* text) = 0;
    // Makes a bank slot the menu's current entry (the index counted without separators).
    virtual void selectMenuEntry(int slot) = 0;
};
