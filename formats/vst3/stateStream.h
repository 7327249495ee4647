// The component state on the host's streams: the plug-in's state block
// (core/pluginState.h: version, selected slot, the whole bank with its
// names, the settings), then the bypass as a tagged 8-byte trailer. The
// controller reads the same bytes into its mirror; its own state is only the
// editor's: "KvBE" and whether the strip is open.
#pragma once

#include <cstddef>
#include <span>

#include "formats/vst3/abi/base.h"
#include "core/pluginState.h"

class Parameters;
class ProgramBank;

namespace vst3::state {

inline constexpr unsigned char kBypassTag[4] = {'K', 'v', 'B', 'y'};
inline constexpr std::size_t kTrailerSize = 8;
inline constexpr std::size_t kLargestSize = pluginState::kLargestSize + kTrailerSize;

// Writes at the stream's position; false when the stream took fewer bytes.
bool save(IBStream* stream, ProgramBank& bank, const Parameters& settings, bool bypass);

// The state's bytes split into the block and the bypass; false when the
// trailer is damaged (the block is checked when it is restored).
bool split(std::span<const unsigned char> bytes, std::span<const unsigned char>& block,
           bool& bypass);

// Reads onward from the stream's position (short reads and all) and restores
// the bank and the settings, silently, and the bypass; on any refusal
// nothing changes and it answers false.
bool load(IBStream* stream, ProgramBank& bank, Parameters& settings, bool& bypass);

// The controller's state: "KvBE", then 1 when the editor's strip is open, 0
// when closed. An empty stream (a session saved before the strip) or any
// other bytes leave the strip closed.
inline constexpr unsigned char kEditorTag[4] = {'K', 'v', 'B', 'E'};
bool saveEditor(IBStream* stream, bool stripOpen);
bool loadEditor(IBStream* stream);

}  // namespace vst3::state
