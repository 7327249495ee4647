// The bank as hosts keep it in their sessions: the 33 programs in the
// bank-file layout, and the selected slot. LV2 stores them as two properties
// beside a version; VST 3 and CLAP as one block (pluginState.h). Free of any
// format's headers, so that the fuzzer and the unit tests reach it directly.
#pragma once

#include <array>
#include <span>

#include "core/programs/presetFiles.h"

class CPresetSystemEffect;

namespace bankState {

// The whole bank as a bank file's bytes; all zero if the effect has no bank.
std::array<unsigned char, presetFiles::kBankFileSize> saveBank(CPresetSystemEffect& effect);

enum class Restore { ok, noBank, damagedBank, badSelection };

// Checks everything first: only a complete bank file of this layout (values
// included) and a slot from 0 to 32 replace the bank and select that slot;
// anything else changes nothing.
Restore restoreBank(CPresetSystemEffect& effect, std::span<const unsigned char> bytes,
                    long selected);

}  // namespace bankState
