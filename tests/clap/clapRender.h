// Audio through a CLAP instance of the test host: blocks of chosen sizes on
// the host's audio thread, parameter changes at chosen frames inside them.
#pragma once

#include <cstdint>
#include <vector>

#include "clapTestHost.h"
#include "tests/formats/sameSamples.h"

template <typename Sample>
using Signal = std::vector<std::vector<Sample>>;

struct ParamChange {
    std::uint32_t frame;  // from the start of the signal
    clapabi::Id id;
    double value;  // plain value, as a host sends it
};

struct RenderResult {
    int errors = 0;  // blocks answered with CLAP_PROCESS_ERROR
    int blocks = 0;
};

// Processes `in` in blocks whose sizes cycle through `blocks`, each change
// going out in the block that holds its frame, at its place in that block.
// In place: the output is written over a copy of the input. With `key`, the
// blocks carry a second input, the side-chain's, with its channels (none:
// the port given without buffers); without, one input only. The instance
// must be activated; processing is started and stopped around the render.
template <typename Sample>
Signal<Sample> renderClap(TestClapHost& host, const Signal<Sample>& in,
                          const std::vector<std::uint32_t>& blocks,
                          const std::vector<ParamChange>& changes = {}, bool inPlace = false,
                          RenderResult* result = nullptr, const Signal<Sample>* key = nullptr);

// On the host's audio thread: one block of `frames` frames from `start` of
// `io`, processed in place with `events`; the plug-in's answer.
clapabi::ProcessStatus processInPlace(const clapabi::Plugin* plugin, Signal<float>& io,
                                      std::uint32_t start, std::uint32_t frames,
                                      const InputEventList& events);

// A burst signal that needs no maths library (tools/referenceRun.h's), cut
// or repeated to `frames`, with `channels` channels.
Signal<double> burstSignal(int channels, int frames);

template <typename Sample>
Signal<Sample> converted(const Signal<double>& signal) {
    Signal<Sample> out;
    for (const auto& channel : signal) out.emplace_back(channel.begin(), channel.end());
    return out;
}
