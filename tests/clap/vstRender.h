// The VST 2.x plug-in the CLAP renders must equal: the same signal through
// build/korvane-brassel.so, in blocks cut at every change's frame, the change
// made with setParameter between them.
#pragma once

#include <cstdint>
#include <vector>

#include "clapRender.h"

struct VstChange {
    std::uint32_t frame;
    int index;         // VST 2.x parameter index
    float normalised;  // what setParameter gets
};

template <typename Sample>
Signal<Sample> renderVst(double rate, bool mono, const Signal<Sample>& in,
                         const std::vector<VstChange>& changes);
