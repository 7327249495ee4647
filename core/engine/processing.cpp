// The audio path: the output setting and its crossfades, the Off bypass and
// the baseline path's per-sample pipeline, one template for both sample
// widths. The vector path (processingVector.cpp) runs the same pipeline where
// the processor has AVX2.
#include <algorithm>
#include <cmath>

#include "gainCurves.h"
#include "optoModel.h"
#include "Engine.h"
#include "crossfade.h"

namespace {

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

// Gain smoothing, noise, drive, side-chain, detectors and the cell for one run
// of samples: everything that carries state from sample to sample, up to each
// sample's cell level, whatever the output setting. Each run goes through
// passes with the same arithmetic, in the same order per sample, as one
// sample at a time. Only the filters carry state from sample to sample, the
// cell's ten-step chain above all; the other passes are independent per
// sample, so the processor overlaps them with the chains and the compiler
// puts them on vector registers.
template <typename Sample>
void frontRun(EngineState& s, Scratch& t, const Sample* inL, const Sample* inR, int32 n,
              const EngineValues& values, const Sample* keyL, const Sample* keyR, bool filtered) {
    const double rate = s.cellSection.rate;
    const double Q = s.cellSection.Q;
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
        t.L[i] = audibleOrZero(inL[i]) * s.smoothedDrive + noiseL;
        t.R[i] = audibleOrZero(inR[i]) * s.smoothedDrive + noiseR;
        // The detector hears the key, driven alike, when there is one.
        double heardL = t.L[i], heardR = t.R[i];
        if (keyL) {
            heardL = audibleOrZero(keyL[i]) * s.smoothedDrive + noiseL;
            heardR = audibleOrZero(keyR[i]) * s.smoothedDrive + noiseR;
        }
        if (filtered) {
            heardL = s.detectorFilterLeft.singleStep(heardL);
            heardR = s.detectorFilterRight.singleStep(heardR);
        }
        const opto::Power power = opto::detect(s, heardL, heardR);
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
}

}  // namespace

OutputSetting OutputSetting::of(const EngineValues& values) {
    OutputSetting setting;
    setting.mode = values.processMode < 0 ? 0 : values.processMode > 2 ? 2 : values.processMode;
    if (setting.mode == 0) return setting;
    setting.step = values.ratioStep < 0 ? 0 : values.ratioStep > 6 ? 6 : values.ratioStep;
    if (setting.mode == 2)
        setting.oversampling = values.oversampling < 0 ? 0 : values.oversampling > 2 ? 2 : values.oversampling;
    return setting;
}

void Engine::settleOutput(const EngineValues& values) {
    current = OutputSetting::of(values);
    fade.active = false;
    for (oversampling::Valve& valve : valvesOf(false)) valve.reset(valveRate);
    // The dry path a blend of these values wants, from its start.
    dryPath = DryPath{};
    dryPath.to = dryPhaseOf(values, mixNow);
    if (dryPath.to)
        for (oversampling::Valve& filters : dryFilters[static_cast<std::size_t>(dryPath.to - 1)]) filters.reset(valveRate);
}

template <typename Sample>
void Engine::process(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                     int32 sampleFrames, const EngineValues& values, const Sample* keyL,
                     const Sample* keyR) {
    if (values.sidechainFilter != detectorFilter) setDetectorFilter(values.sidechainFilter);
    Detector<Sample> detector;
    // Key External with no key connected listens to the input: a forgotten
    // routing never silences the compression.
    if (values.key == 1 && keyL) {
        detector.keyL = keyL;
        detector.keyR = keyR ? keyR : keyL;
    }
    detector.filtered = detectorFilter != 0;
    const double mix = values.mix < 0.0 ? 0.0 : values.mix > 1.0 ? 1.0 : values.mix;
    // Off stays the input bit for bit, whatever the Mix.
    const bool bypassed = !fade.active && current.mode == 0 && OutputSetting::of(values) == current;
    if (bypassed || (mix == 1.0 && mixNow == 1.0)) {
        if (bypassed) mixNow = mixFrom = mixTo = mix;
        // The dry filters stop; a blend that starts again fades them in afresh.
        dryPath = DryPath{};
        processSettings(inL, inR, outL, outR, sampleFrames, values, detector);
        return;
    }
    const int phase = dryPhaseOf(values, mix);
    // The input is kept before the outputs (which may be the inputs) are written.
    constexpr int32 kPiece = 256;
    Sample dryL[kPiece], dryR[kPiece];
    for (int32 done = 0; done < sampleFrames; done += kPiece) {
        const int32 n = std::min(kPiece, sampleFrames - done);
        std::copy(inL + done, inL + done + n, dryL);
        std::copy(inR + done, inR + done + n, dryR);
        processSettings(inL + done, inR + done, outL + done, outR + done, n, values, detector.after(done));
        mixWithDry(dryL, dryR, outL + done, outR + done, n, mix, phase);
    }
}

template <typename Sample>
void Engine::processSettings(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                             int32 sampleFrames, const EngineValues& values, const Detector<Sample>& detector) {
    const OutputSetting wanted = OutputSetting::of(values);
    int32 done = 0;
    while (done < sampleFrames) {
        if (!fade.active && !(wanted == current)) {
            fade.active = true;
            fade.from = current;
            fade.to = wanted;
            fade.position = 0;
            // Whatever the incoming valves last held is long gone; the fade covers their start.
            for (oversampling::Valve& valve : valvesOf(true)) valve.reset(valveRate);
        }
        if (!fade.active) {
            processSteady(inL + done, inR + done, outL + done, outR + done, sampleFrames - done,
                          values, detector.after(done));
            return;
        }
        const int32 n = std::min(sampleFrames - done, fade.length - fade.position);
        if (enginePath == EnginePath::vector) {
            processVector(inL + done, inR + done, outL + done, outR + done, n, fade.to, values,
                          detector.after(done), &fade);
            fade.position += n;
        } else {
            processFade(inL + done, inR + done, outL + done, outR + done, n, values, detector.after(done));
        }
        done += n;
        if (fade.position == fade.length) {
            current = fade.to;
            fade.active = false;
            steadyValves = 1 - steadyValves;
        }
    }
}

template <typename Sample>
void Engine::processSteady(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                           int32 sampleFrames, const EngineValues& values, const Detector<Sample>& detector) {
    if (current.mode == 0) {
        for (int32 i = 0; i < sampleFrames; ++i) {
            const Sample l = inL[i], r = inR[i];
            outL[i] = l;
            outR[i] = r;
            meterReading.store(engine.meterSection.singleStep(1.0), std::memory_order_relaxed);
        }
        return;
    }
    if (enginePath == EnginePath::vector)
        processVector(inL, inR, outL, outR, sampleFrames, current, values, detector);
    else
        processBaseline(inL, inR, outL, outR, sampleFrames, current, values, detector);
}

template <typename Sample>
void Engine::processBaseline(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                             int32 sampleFrames, const OutputSetting& setting,
                             const EngineValues& values, const Detector<Sample>& detector) {
    const ValveConstants valve = valveConstants(setting.step);
    OversampledValves& oversampled = valvesOf(false);
    // Work on a local copy: the output buffers cannot alias it, so the compiler
    // keeps the state in registers.
    EngineState s = engine;
    Scratch t;
    for (int32 start = 0; start < sampleFrames; start += kChunk) {
        const int32 n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        const Detector<Sample> heard = detector.after(start);
        frontRun(s, t, inL + start, inR + start, n, values, heard.keyL, heard.keyR, heard.filtered);
        for (int32 i = 0; i < n; ++i) t.gain[i] = opto::levelGain(t.level[i], setting.step);
        for (int32 i = 0; i < n; ++i)
            meterReading.store(s.meterSection.singleStep(t.gain[i]), std::memory_order_relaxed);
        // Valve, in place of the compressed signal, then the output scaling.
        for (int32 i = 0; i < n; ++i) {
            t.L[i] = t.gain[i] * t.L[i];
            t.R[i] = t.gain[i] * t.R[i];
            if (setting.mode == 2) {
                t.L[i] = crossfade::valveOf(setting, t.L[i], valve, oversampled[0]);
                t.R[i] = crossfade::valveOf(setting, t.R[i], valve, oversampled[1]);
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

template <typename Sample>
void Engine::processFade(const Sample* inL, const Sample* inR, Sample* outL, Sample* outR,
                         int32 sampleFrames, const EngineValues& values, const Detector<Sample>& detector) {
    const OutputSetting from = fade.from, to = fade.to;
    OversampledValves& leaving = valvesOf(false);
    OversampledValves& coming = valvesOf(true);
    Scratch t;
    for (int32 start = 0; start < sampleFrames; start += kChunk) {
        const int32 n = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        // The inputs as the host gave them (Off's output), read before any is written.
        double inputL[kChunk], inputR[kChunk];
        for (int32 i = 0; i < n; ++i) {
            inputL[i] = audibleOrZero(inL[start + i]);
            inputR[i] = audibleOrZero(inR[start + i]);
        }
        const Detector<Sample> heard = detector.after(start);
        frontRun(engine, t, inL + start, inR + start, n, values, heard.keyL, heard.keyR, heard.filtered);
        for (int32 i = 0; i < n; ++i) {
            const double w = crossfade::share(++fade.position, fade.length);
            const double gainFrom = from.mode ? opto::levelGain(t.level[i], from.step) : 1.0;
            const double gainTo = to.mode ? opto::levelGain(t.level[i], to.step) : 1.0;
            meterReading.store(engine.meterSection.singleStep(gainFrom * (1.0 - w) + gainTo * w),
                               std::memory_order_relaxed);
            const double d = t.inverseDrive[i], o = t.outputGain[i];
            const double leftFrom = crossfade::outputOf(from, t.L[i], gainFrom, inputL[i], d, o, leaving[0]);
            const double rightFrom = crossfade::outputOf(from, t.R[i], gainFrom, inputR[i], d, o, leaving[1]);
            const double leftTo = crossfade::outputOf(to, t.L[i], gainTo, inputL[i], d, o, coming[0]);
            const double rightTo = crossfade::outputOf(to, t.R[i], gainTo, inputR[i], d, o, coming[1]);
            outL[start + i] = static_cast<Sample>(leftFrom * (1.0 - w) + leftTo * w);
            outR[start + i] = static_cast<Sample>(rightFrom * (1.0 - w) + rightTo * w);
        }
        engine.inverseDrive = t.inverseDrive[n - 1];
    }
}

template void Engine::process(const float*, const float*, float*, float*, int32, const EngineValues&,
                              const float*, const float*);
template void Engine::process(const double*, const double*, double*, double*, int32, const EngineValues&,
                              const double*, const double*);

EnginePath Engine::setEnginePath(EnginePath path) {
    const bool runs = path == EnginePath::baseline || vectorEngineSupported();
    enginePath = runs ? path : EnginePath::baseline;
    return enginePath;
}
