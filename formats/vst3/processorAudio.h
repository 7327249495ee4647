// The processor's audio work for one stretch of a block: the host's buses as
// the compressor's channel pointers, the compressor itself, and the bypass blend.
// Audio thread: everything it needs lives in the object, made with it.
#pragma once

#include "formats/vst3/abi/component.h"
#include "bypassFade.h"

class Compressor;

namespace vst3 {

class ProcessorAudio {
public:
    static constexpr int32 kChunk = 1024;

    // UI thread, while inactive.
    void setRate(double rate) { fade.setRate(rate); }
    void settle(bool bypassed) {
        fade.setTarget(bypassed);
        fade.jumpToTarget();
    }
    // Audio thread.
    void setBypass(bool bypassed) { fade.setTarget(bypassed); }
    const BypassFade& bypassFade() const { return fade; }

    // Samples [from, to) of the block in the block's sample size. Missing
    // input channels are silence; without an output channel nothing is done.
    // keyed: the side-chain's bus (the second input) is active, and its
    // channels, when the host gave them, are the key.
    void render(ProcessData& data, Compressor& compressor, int32 from, int32 to, bool mono, bool keyed);

private:
    template <typename Sample>
    struct Scratch {
        Sample kept[2][kChunk];
        Sample zeros[kChunk];
        Sample sink[kChunk];
    };
    template <typename Sample>
    void run(ProcessData& data, Compressor& compressor, int32 from, int32 to, bool mono, bool keyed,
             Scratch<Sample>& scratch);

    BypassFade fade;
    Scratch<float> floats{};
    Scratch<double> doubles{};
};

}  // namespace vst3
