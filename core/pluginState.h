// The plug-in's whole state as one block of bytes, for the formats that save
// a single stream (VST 3's component state, CLAP's state): a header with a
// version and the selected slot, then the bank in the bank-file layout, names
// included (the three things LV2 saves as separate properties), then, from
// version 2 on, the instance's settings (LV2 keeps those in its ports).
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/parameters.h"
#include "core/programs/presetFiles.h"

class ProgramBank;

namespace pluginState {

// "KvBS", then the version and the selected slot as little-endian 32-bit integers.
inline constexpr unsigned char kMagic[4] = {'K', 'v', 'B', 'S'};
// Raised whenever the block changes meaning; newer blocks are refused.
// Version 1 ends after the bank; version 2 adds a count and that many
// settings (little-endian 32-bit floats, normalised, from parameter 12 on);
// version 3 is laid out as 2 and carries Mix, Sidechain Filter, Key and
// whether the editor's strip is open after Oversampling: a build that knows
// only Oversampling refuses it rather than drop a key routing unseen.
inline constexpr int kVersion = 3;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kVersion1Size = kHeaderSize + presetFiles::kBankFileSize;
inline constexpr int kSettingCount = kNumParams - kProgramParameters;
inline constexpr std::size_t kSize = kVersion1Size + 4 + 4 * kSettingCount;
// A later block of versions 2 or 3 may carry settings this one does not
// know; they are skipped. No block carries more than this many.
inline constexpr int kMostSettings = 64;
inline constexpr std::size_t kLargestSize = kVersion1Size + 4 + 4 * kMostSettings;

// Main thread: the bank as it stands, parameter changes written through, and
// the settings when given (the newest version); without them, the version 1 block.
std::vector<unsigned char> save(ProgramBank& bank, const Parameters* settings);

enum class Restore { ok, wrongSize, notOurs, futureVersion, damagedBank, badSelection };

// Main thread: checks everything first and changes nothing unless the whole
// block is good; then replaces the bank and selects the slot, silently. With
// `settings`, they take the block's values, and their defaults from a
// version 1 block (a session saved before they existed); without, they stay.
Restore restore(ProgramBank& bank, Parameters* settings, std::span<const unsigned char> bytes);

// The length of the block that starts `bytes` by its header, or 0 when the
// header says nothing usable (too short, not ours, a version it cannot read).
std::size_t blockLength(std::span<const unsigned char> bytes);

}  // namespace pluginState
