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

// One sample's front half, kept until its cell half runs.
struct Front {
    double L = 0.0, R = 0.0;
    double inverseDrive = 1.0, outputGain = 1.0;
    opto::CellDrive drive{};
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
    // The front half of a sample (gain smoothing, noise, drive, detectors) does
    // not depend on the cell, so it runs one sample ahead and the processor
    // overlaps it with the cell's long chain of the sample before.
    auto front = [&](int32 i) __attribute__((always_inline)) {
        Front f;
        s.engineOffset = -s.engineOffset;
        s.smoothedOutputGain =
            (getOutputGain() - s.smoothedOutputGain) * 0.001 + s.engineOffset + s.smoothedOutputGain;
        s.smoothedDrive =
            (getCompressionGain() - s.smoothedDrive) * 0.001 + s.engineOffset + s.smoothedDrive;
        s.inverseDrive = 1.0 / s.smoothedDrive;
        f.inverseDrive = s.inverseDrive;
        f.outputGain = s.smoothedOutputGain;
        const double noiseL = NoiseGenerators::value(s.noise.step());
        const double noiseR = NoiseGenerators::value(s.noise.step());
        f.L = finiteOrZero(inL[i]) * s.smoothedDrive + noiseL;
        f.R = finiteOrZero(inR[i]) * s.smoothedDrive + noiseR;
        f.drive = opto::detect(s, f.L, f.R, getTimeFactor());
        return f;
    };
    Front current = sampleFrames > 0 ? front(0) : Front{};
    for (int32 i = 0; i < sampleFrames; ++i) {
        const Front next = i + 1 < sampleFrames ? front(i + 1) : Front{};
        const double g = opto::cellGain(s, current.drive, getRatioStep());
        meterReading.store(s.meterSection.singleStep(g), std::memory_order_relaxed);

        double yL = g * current.L;
        double yR = g * current.R;
        if (getProcessMode() == 2) {
            yL = valveCurve(yL, valve);
            yR = valveCurve(yR, valve);
        }
        outL[i] = static_cast<Sample>(yL * current.inverseDrive * current.outputGain);
        outR[i] = static_cast<Sample>(yR * current.inverseDrive * current.outputGain);
        current = next;
    }
    engine = s;
}

void AutoComp::processReplacing(float** inputs, float** outputs, int32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void AutoComp::processDoubleReplacing(double** inputs, double** outputs, int32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}
