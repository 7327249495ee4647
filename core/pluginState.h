// The plug-in's whole state as one block of bytes, for the formats that save
// a single stream (VST 3's component state, CLAP's state): a header with a
// version and the selected slot, then the bank in the bank-file layout, names
// included. The same three things LV2 saves as separate properties.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "core/programs/presetFiles.h"

class ProgramBank;

namespace pluginState {

// "KvBS", then the version and the selected slot as little-endian 32-bit integers.
inline constexpr unsigned char kMagic[4] = {'K', 'v', 'B', 'S'};
// Raised whenever the block changes meaning; newer blocks are refused.
inline constexpr int kVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kSize = kHeaderSize + presetFiles::kBankFileSize;

using Block = std::array<unsigned char, kSize>;

// Main thread: the bank as it stands, parameter changes written through.
Block save(ProgramBank& bank);

enum class Restore { ok, wrongSize, notOurs, futureVersion, damagedBank, badSelection };

// Main thread: checks everything first and changes nothing unless the whole
// block is good; then replaces the bank and selects the slot.
Restore restore(ProgramBank& bank, std::span<const unsigned char> bytes);

}  // namespace pluginState
