// The effect a UI builds for itself when the host gives it no access to the
// plug-in instance: it never processes audio; its controls talk to the host
// through ports only, and its meter shows the gain-reduction port.
#pragma once

#include "plugin/format/hostLink.h"
#include "plugin/AutoComp.h"

class UiEffect : public AutoComp {
public:
    explicit UiEffect(HostLink& link);
    // The reading the meter shows, from the gain-reduction port (dB of reduction).
    void showGainReduction(float decibels);
};
