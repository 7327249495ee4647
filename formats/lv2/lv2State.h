// The LV2 state interface: the bank and the selected slot saved with the
// host's session and restored from it.
#pragma once

#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

struct Lv2Uris;

namespace lv2State {

inline constexpr const char* kBankUri = "https://korvane.com/plugins/brassel#bank";
inline constexpr const char* kSelectedProgramUri =
    "https://korvane.com/plugins/brassel#selectedProgram";
inline constexpr const char* kStateVersionUri = "https://korvane.com/plugins/brassel#stateVersion";
// Raised whenever the saved properties change meaning; newer states are refused.
inline constexpr int kStateVersion = 1;

Lv2Uris mapUris(const LV2_URID_Map& map);

extern const LV2_State_Interface kInterface;

}  // namespace lv2State
