// The effect's host in the LV2, VST 3 and CLAP builds. The effect reports its
// edits as it would to a VST 2.x host (automate, begin and end of a gesture,
// update display); the format's glue turns them into its own host's calls.
#pragma once

#include "formats/vst2/aeffect.h"

struct HostLink {
    // Set by the glue for as long as it listens; every call arrives on the
    // thread the effect was called on (the editor's, or the host's main thread).
    void* context = nullptr;
    void (*automate)(void* context, int parameter, float normalised) = nullptr;
    void (*gesture)(void* context, int parameter, bool begin) = nullptr;
    // A program was selected, renamed or loaded: what the host shows may be stale.
    void (*updated)(void* context) = nullptr;
    // The effect is going away while the glue still holds it.
    void (*detach)(void* context) = nullptr;
    // While a saved state is restored, the host restores the controls itself.
    bool muted = false;
};

// The callback an effect is constructed with in these builds; the effect's
// record carries its HostLink in its user field.
vst2::intptr linkedHostCallback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                                vst2::intptr value, void* ptr, float opt);
