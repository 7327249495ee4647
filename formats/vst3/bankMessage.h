// The one message between the two halves: when the editor changes the bank
// itself (a rename, a loaded bank or preset file), the controller sends the
// whole state block so that the processor's bank, the one the host saves,
// holds the same. Parameter values never travel this way: the host carries
// them as edits.
#pragma once

#include "formats/vst3/abi/host.h"

class ProgramBank;

namespace vst3::bankMessage {

inline constexpr const char* kId = "KorvaneBrassel.bank";
inline constexpr const char* kKey = "state";

// UI thread: false when the host makes no messages or there is no peer.
bool send(FUnknown* hostContext, IConnectionPoint* peer, ProgramBank& bank);

enum class Received { notOurs, restored, refused };
// UI thread: a good block restores the bank silently; a bad one changes nothing.
Received receive(IMessage* message, ProgramBank& bank);

}  // namespace vst3::bankMessage
