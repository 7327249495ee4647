#include "hostLink.h"

vst2::intptr linkedHostCallback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                vst2::intptr, void*, float opt) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    // Asked by processing on the audio thread: answered without reading the
    // link, which the GUI thread sets and clears. 0 means connected.
    if (opcode == vst2::audioMasterPinConnected) return 0;
    const auto* link = effect ? static_cast<const HostLink*>(effect->user) : nullptr;
    if (!link || link->muted || !link->context) return 0;
    switch (opcode) {
        case vst2::audioMasterAutomate:
            if (link->automate) link->automate(link->context, index, opt);
            return 1;
        case vst2::audioMasterBeginEdit:
        case vst2::audioMasterEndEdit:
            if (link->gesture) link->gesture(link->context, index, opcode == vst2::audioMasterBeginEdit);
            return 1;
        case vst2::audioMasterUpdateDisplay:
            if (link->updated) link->updated(link->context);
            return 1;
        default: return 0;  // nothing else is asked of the host
    }
}
