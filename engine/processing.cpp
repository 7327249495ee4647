// The audio path: channel selection, the Off bypass and the per-sample
// pipeline, one template for both sample widths.
#include <cmath>

#include "gainCurves.h"
#include "optoModel.h"
#include "plugin/AutoComp.h"

namespace {

// A NaN or an infinity from the host would poison every filter for good.
template <typename Sample>
double finiteOrZero(Sample x) {
    const double d = static_cast<double>(x);
    return std::isfinite(d) ? d : 0.0;
}

// Samples per run of passes: the scratch lives on the stack (a few kilobytes).
constexpr int32 kChunk = 32;

// What the passes hand on to each other for one run of samples.
struct Scratch {
    double L[kChunk], R[kChunk];
    double inverseDrive[kChunk], outputGain[kChunk];
    opto::Detection detection[kChunk];
    opto::CellDrive drive[kChunk];
    double gain[kChunk];
};

}  // namespace

template <typename Sample>
void AutoComp::processBlock(Sample** inputs, Sample** outputs, int32 sampleFrames) {
    if (!inputs || !outputs || !inputs[0] || !outputs[0]) return;
    const bool inputPinConnected = isInputConnected(1);
    const bool outputPinConnected = isOutputConnected(1);
    const Sample* inL = inputs[0];
    Sample* outL = outputs[0];
    // Pin 1 is used only when the host connected it, the layout asked for it and
    // the buffer is really there; otherwise the left buffer stands in.
    const Sample* inR =
        inputPinConnected && isStereoInput() && inputs[1] ? inputs[1] : inputs[0];
    Sample* outR = outputPinConnected && isStereoOutput() && outputs[1] ? outputs[1] : outputs[0];

    if (getProcessMode() == 0) {
        for (int32 i = 0; i < sampleFrames; ++i) {
            const Sample l = inL[i], r = inR[i];
            outL[i] = l;
            outR[i] = r;
            meterReading.store(engine.meterSection.singleStep(1.0), std::memory_order_relaxed);
        }
        return;
    }

    int32 step = getRatioStep();
    if (step < 0 || step > 6) {
        step = step < 0 ? 0 : 6;
        ratioStep.store(step, std::memory_order_relaxed);
    }
    const ValveConstants valve = valveConstants(step);

    // Work on a local copy: the output buffers cannot alias it, so the compiler
    // keeps the state in registers.
    EngineState s = engine;
    Scratch t;
    // Each run of samples goes through passes with the same arithmetic, in the
    // same order per sample, as one sample at a time. Only the cell's ten-step
    // chain really waits for the sample before; the other passes overlap, and
    // filters in passes without library calls are not saved and reloaded
    // around every call.
    for (int32 start = 0; start < sampleFrames; start += kChunk) {
        const int32 n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        // Gain smoothing, noise, drive, side-chain and detectors.
        for (int32 i = 0; i < n; ++i) {
            s.engineOffset = -s.engineOffset;
            s.smoothedOutputGain = (getOutputGain() - s.smoothedOutputGain) * 0.001 +
                                   s.engineOffset + s.smoothedOutputGain;
            s.smoothedDrive =
                (getCompressionGain() - s.smoothedDrive) * 0.001 + s.engineOffset + s.smoothedDrive;
            s.inverseDrive = 1.0 / s.smoothedDrive;
            t.inverseDrive[i] = s.inverseDrive;
            t.outputGain[i] = s.smoothedOutputGain;
            const double noiseL = NoiseGenerators::value(s.noise.step());
            const double noiseR = NoiseGenerators::value(s.noise.step());
            t.L[i] = finiteOrZero(inL[start + i]) * s.smoothedDrive + noiseL;
            t.R[i] = finiteOrZero(inR[start + i]) * s.smoothedDrive + noiseR;
            t.detection[i] = opto::detect(s, t.L[i], t.R[i], getTimeFactor());
        }
        for (int32 i = 0; i < n; ++i)
            t.drive[i] = opto::cellDesign(t.detection[i], s.cellSection.Q);
        for (int32 i = 0; i < n; ++i)
            t.gain[i] = opto::cellStep(s, t.drive[i]);  // the cell's level, for now
        for (int32 i = 0; i < n; ++i) t.gain[i] = opto::levelGain(t.gain[i], getRatioStep());
        for (int32 i = 0; i < n; ++i)
            meterReading.store(s.meterSection.singleStep(t.gain[i]), std::memory_order_relaxed);
        // Valve and output.
        for (int32 i = 0; i < n; ++i) {
            double yL = t.gain[i] * t.L[i];
            double yR = t.gain[i] * t.R[i];
            if (getProcessMode() == 2) {
                yL = valveCurve(yL, valve);
                yR = valveCurve(yR, valve);
            }
            outL[start + i] =
                static_cast<Sample>(yL * t.inverseDrive[i] * t.outputGain[i]);
            outR[start + i] =
                static_cast<Sample>(yR * t.inverseDrive[i] * t.outputGain[i]);
        }
    }
    engine = s;
}

void AutoComp::processReplacing(float** inputs, float** outputs, int32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void AutoComp::processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}
