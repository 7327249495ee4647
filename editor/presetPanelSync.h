// Keeps a preset panel in step with the bank it shows: remembers the names
// and the selection the panel shows, and at each update tells the panel only
// what changed since (a host's rename, a recalled memory, a program the host
// chose, a restored session).
#pragma once

#include <cstdint>

#include "core/programs/ProgramBank.h"
#include "presetPanel.h"

class PresetPanelSync {
public:
    // The bank may be null (nothing to show); both outlive this.
    PresetPanelSync(ProgramBank* bank, CPresetPanel& panel) : bank(bank), panel(panel) {}

    // The panel has just been built from the bank as it is now.
    void shown();
    // Main thread: the panel learns what changed since it was last shown.
    void update();

private:
    ProgramBank* bank;
    CPresetPanel& panel;
    std::uint32_t shownChanges = 0;
    int shownSelection = 0;
    char shownNames[kBankPrograms][kProgramNameLength + 1] = {};
};
