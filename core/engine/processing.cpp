// The audio path: channel selection, the Off bypass and the baseline path's
// per-sample pipeline, one template for both sample widths. The vector path
// (processingVector.cpp) runs the same pipeline where the processor has AVX2.
#include <cmath>

#include "gainCurves.h"
#include "optoModel.h"
#include "Engine.h"

namespace {

// A NaN or an infinity from the host would poison every filter for good, and
// so would a finite sample so large that its power overflows (1e155 squared
// is infinite): anything beyond 1e30, far above any audio, counts as silence.
template <typename Sample>
double audibleOrZero(Sample x) {
    const double d = static_cast<double>(x);
    return std::fabs(d) <= kLargestSample ? d : 0.0;
}

using int32 = Engine::int32;

// Samples per run of passes: the scratch lives on the stack (a few kilobytes).
constexpr int32 kChunk = 32;

// What the passes hand on to each other for one run of samples, one array per
// quantity so that the passes without library calls run on vector registers.
struct Scratch {
    double L[kChunk], R[kChunk];
    double drive[kChunk], inverseDrive[kChunk], outputGain[kChunk];
    double timeFactor[kChunk];
    double P[kChunk], fast[kChunk], slow[kChunk];
    double frequency[kChunk], angle[kChunk], sine[kChunk], cosine[kChunk];
    double a0[kChunk], a1[kChunk], a2[kChunk], b0[kChunk], b1[kChunk], b2[kChunk];
    double level[kChunk], gain[kChunk];
};

}  // namespace

template <typename Sample>
void Engine::process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                     int32 sampleFrames, const EngineValues& values) {
    if (values.processMode == 0) {
        for (int32 i = 0; i < sampleFrames; ++i) {
            const Sample l = inL[i], r = inR[i];
            outL[i] = l;
            outR[i] = r;
            meterReading.store(engine.meterSection.singleStep(1.0), std::memory_order_relaxed);
        }
        return;
    }

    int32 step = values.ratioStep;
    if (step < 0 || step > 6) step = step < 0 ? 0 : 6;
    if (enginePath == EnginePath::vector)
        processVector(inL, inR, outL, outR, sampleFrames, step, values);
    else
        processBaseline(inL, inR, outL, outR, sampleFrames, step, values);
}

template <typename Sample>
void Engine::processBaseline(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                             int32 sampleFrames, int32 step, const EngineValues& values) {
    const ValveConstants valve = valveConstants(step);

    // Work on a local copy: the output buffers cannot alias it, so the compiler
    // keeps the state in registers.
    EngineState s = engine;
    Scratch t;
    const double rate = s.cellSection.rate;
    const double Q = s.cellSection.Q;
    // Each run of samples goes through passes with the same arithmetic, in the
    // same order per sample, as one sample at a time. Only the filters carry
    // state from sample to sample, the cell's ten-step chain above all; the
    // other passes are independent per sample, so the processor overlaps them
    // with the chains and the compiler puts them on vector registers.
    for (int32 start = 0; start < sampleFrames; start += kChunk) {
        const int32 n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        // Gain smoothing, noise, drive, side-chain and detectors.
        for (int32 i = 0; i < n; ++i) {
            s.engineOffset = -s.engineOffset;
            s.smoothedOutputGain = (values.outputGain - s.smoothedOutputGain) * 0.001 +
                                   s.engineOffset + s.smoothedOutputGain;
            s.smoothedDrive =
                (values.compressionGain - s.smoothedDrive) * 0.001 + s.engineOffset + s.smoothedDrive;
            t.drive[i] = s.smoothedDrive;
            t.outputGain[i] = s.smoothedOutputGain;
            const double noiseL = NoiseGenerators::value(s.noise.step());
            const double noiseR = NoiseGenerators::value(s.noise.step());
            t.L[i] = audibleOrZero(inL[start + i]) * s.smoothedDrive + noiseL;
            t.R[i] = audibleOrZero(inR[start + i]) * s.smoothedDrive + noiseR;
            const opto::Power power = opto::detect(s, t.L[i], t.R[i]);
            t.P[i] = power.P;
            t.fast[i] = power.fast;
            t.slow[i] = power.slow;
            t.timeFactor[i] = values.timeFactor;
        }
        for (int32 i = 0; i < n; ++i) {
            t.inverseDrive[i] = 1.0 / t.drive[i];
            t.frequency[i] = opto::cellFrequency(t.fast[i], t.slow[i], t.timeFactor[i]);
            t.angle[i] = opto::cellAngle(t.frequency[i], rate);
        }
        for (int32 i = 0; i < n; ++i) {
            t.sine[i] = std::sin(t.angle[i]);
            t.cosine[i] = std::cos(t.angle[i]);
        }
        for (int32 i = 0; i < n; ++i) {
            const opto::CellCoefficients c = opto::cellCoefficients(t.sine[i], t.cosine[i], Q);
            t.a0[i] = c.a0;
            t.a1[i] = c.a1;
            t.a2[i] = c.a2;
            t.b0[i] = c.b0;
            t.b1[i] = c.b1;
            t.b2[i] = c.b2;
        }
        for (int32 i = 0; i < n; ++i) {
            const opto::CellCoefficients c{t.a0[i], t.a1[i], t.a2[i], t.b0[i], t.b1[i], t.b2[i]};
            t.level[i] = opto::cellStep(s, t.P[i], t.frequency[i], c);
        }
        for (int32 i = 0; i < n; ++i) t.gain[i] = opto::levelGain(t.level[i], step);
        for (int32 i = 0; i < n; ++i)
            meterReading.store(s.meterSection.singleStep(t.gain[i]), std::memory_order_relaxed);
        // Valve, in place of the compressed signal, then the output scaling.
        for (int32 i = 0; i < n; ++i) {
            t.L[i] = t.gain[i] * t.L[i];
            t.R[i] = t.gain[i] * t.R[i];
            if (values.processMode == 2) {
                t.L[i] = valveCurve(t.L[i], valve);
                t.R[i] = valveCurve(t.R[i], valve);
            }
        }
        for (int32 i = 0; i < n; ++i) {
            outL[start + i] = static_cast<Sample>(t.L[i] * t.inverseDrive[i] * t.outputGain[i]);
            outR[start + i] = static_cast<Sample>(t.R[i] * t.inverseDrive[i] * t.outputGain[i]);
        }
        s.inverseDrive = t.inverseDrive[n - 1];
    }
    engine = s;
}

template void Engine::process(const float*, const float*, float*, float*, int32, const EngineValues&);
template void Engine::process(const double*, const double*, double*, double*, int32,
                              const EngineValues&);

EnginePath Engine::setEnginePath(EnginePath path) {
    const bool runs = path == EnginePath::baseline || vectorEngineSupported();
    enginePath = runs ? path : EnginePath::baseline;
    return enginePath;
}
