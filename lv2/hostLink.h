// The effect's host in the LV2 build. The effect reports its edits as it
// would to a VST 2.x host (automate, begin and end of a gesture); the LV2 UI,
// while it is open, turns them into port writes and touch notifications.
#pragma once

#include "plugin/vst2/aeffect.h"

struct Lv2HostLink {
    // Set by the UI for the life of its editor; all on the host's GUI thread.
    void* context = nullptr;
    void (*automate)(void* context, int parameter, float normalised) = nullptr;
    void (*gesture)(void* context, int parameter, bool begin) = nullptr;
    // The instance is going away while the UI still holds it.
    void (*detach)(void* context) = nullptr;
    // While a saved state is restored, the host restores the ports itself.
    bool muted = false;
};

// The callback an LV2-built effect is constructed with; the effect's record
// carries its Lv2HostLink in its user field.
vst2::intptr lv2HostCallback(vst2::AEffect* effect, vst2::int32 opcode, vst2::int32 index,
                             vst2::intptr value, void* ptr, float opt);
