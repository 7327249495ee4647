// The LV2 state interface: the bank, the selected slot and whether the
// editor's strip is open, saved with the host's session and restored from it.
#pragma once

#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

struct Lv2Uris;

namespace lv2State {

inline constexpr const char* kBankUri = "https://korvane.com/plugins/brassel#bank";
inline constexpr const char* kSelectedProgramUri =
    "https://korvane.com/plugins/brassel#selectedProgram";
inline constexpr const char* kStateVersionUri = "https://korvane.com/plugins/brassel#stateVersion";
// 1 when the editor's strip is open; a state without it (saved before the
// strip) opens the editor closed. Older builds skip the property.
inline constexpr const char* kEditorStripUri = "https://korvane.com/plugins/brassel#editorStrip";
// Raised whenever the saved properties change meaning; newer states are refused.
inline constexpr int kStateVersion = 1;

Lv2Uris mapUris(const LV2_URID_Map& map);

extern const LV2_State_Interface kInterface;

}  // namespace lv2State
