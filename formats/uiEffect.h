// The effect an editor works on when the plug-in instance that processes is
// out of its reach (an LV2 UI without instance access, the VST 3 controller):
// it never processes audio; its controls talk to the host through the glue's
// HostLink only, and its meter shows the reading the host passes on.
#pragma once

#include "hostLink.h"
#include "formats/vst2/AutoComp.h"

class UiEffect : public AutoComp {
public:
    explicit UiEffect(HostLink& link);
    // The reading the meter shows, from the host's gain-reduction value (dB of reduction).
    void showGainReduction(float decibels);
};
