#include "presetPanelSync.h"

#include <cstring>

namespace {

// The menu's raw position of a slot: entry 1 is the separator.
int entryOf(int slot) { return slot == 0 ? 0 : slot + 1; }

}  // namespace

void PresetPanelSync::shown() {
    if (!bank) return;
    shownSelection = bank->getCurrentPreset();
    shownChanges = bank->changes();
    for (int slot = 0; slot < kBankPrograms; ++slot) bank->getBankProgram(slot)->getName(shownNames[slot]);
}

void PresetPanelSync::update() {
    if (!bank) return;
    // Asking for the selection brings the bank up to date first.
    const int selection = bank->getCurrentPreset();
    if (bank->changes() == shownChanges) return;
    shownChanges = bank->changes();
    char names[kBankPrograms][kProgramNameLength + 1];
    for (int slot = 0; slot < kBankPrograms; ++slot) bank->getBankProgram(slot)->getName(names[slot]);
    if (selection != shownSelection) {
        panel.selectMenuEntry(selection);
        panel.setNameFieldText(names[selection]);
        shownSelection = selection;
    } else if (std::strcmp(names[selection], shownNames[selection]) != 0) {
        // The field, the current entry and entry 0 in one.
        panel.displayPresetName(names[selection]);
        std::memcpy(shownNames[selection], names[selection], sizeof names[selection]);
        std::memcpy(shownNames[0], names[selection], sizeof names[selection]);
    }
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        if (std::strcmp(names[slot], shownNames[slot]) == 0) continue;
        panel.setMenuEntryText(entryOf(slot), names[slot]);
        std::memcpy(shownNames[slot], names[slot], sizeof names[slot]);
    }
}
