#include "hostLink.h"

vst2::intptr linkedHostCallback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                vst2::intptr, void*, float opt) {
    switch (opcode) {
        case vst2::audioMasterVersion: return 2400;
        case vst2::audioMasterAutomate:
        case vst2::audioMasterBeginEdit:
        case vst2::audioMasterEndEdit:
        case vst2::audioMasterUpdateDisplay: break;
        // Pins connected, nothing else asked of the host. The audio thread's
        // calls (the pin queries) end here, before the link, which the GUI
        // thread writes while a state is restored.
        default: return 0;
    }
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
        default:
            if (link->updated) link->updated(link->context);
            return 1;
    }
}
