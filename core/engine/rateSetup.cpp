// Preparing the engine for a sample rate, and putting it to rest.
#include <algorithm>
#include <cmath>

#include "Engine.h"

namespace {

constexpr double kFallbackRate = 44100.0;

void limitAndDesign(FilterSection& section, double rate, double designRate) {
    section.rate = rate;
    if (section.frequency > 0.499 * designRate) section.frequency = 0.499 * designRate;
    section.design();
}

}  // namespace

Engine::Engine() {
    for (FilterSection* section : processingSections()) section->design();
    engine.meterSection.design();
}

std::array<FilterSection*, 5> Engine::processingSections() {
    return {&engine.cellSection, &engine.fastDetector, &engine.slowDetector,
            &engine.sideChainLeft, &engine.sideChainRight};
}

void Engine::startGainsAt(const EngineValues& values) {
    engine.smoothedDrive = values.compressionGain;
    engine.inverseDrive = 1.0 / engine.smoothedDrive;
    engine.smoothedOutputGain = values.outputGain;
    mixNow = mixFrom = mixTo = values.mix < 0.0 ? 0.0 : values.mix > 1.0 ? 1.0 : values.mix;
}

void Engine::setDetectorFilter(int setting) {
    if (setting < 0 || setting >= static_cast<int>(kSidechainFilterHz.size())) setting = 0;
    for (FilterSection* section : {&engine.detectorFilterLeft, &engine.detectorFilterRight}) {
        // Switched on, it starts from silence rather than from what it held when it was last on.
        if (detectorFilter == 0) section->clear();
        section->type = setting ? 1 : 0;
        section->frequency = kSidechainFilterHz[static_cast<std::size_t>(setting)];
        if (setting) section->design();
    }
    detectorFilter = setting;
}

void Engine::prepare(double hostRate) {
    // A rate that is no rate at all (NaN, infinite, zero, negative) would fill
    // every section with NaN coefficients or divide by zero.
    if (!std::isfinite(hostRate) || hostRate <= 0.0) hostRate = kFallbackRate;
    const double rate = hostRate < 20000.0 || hostRate > 200000.0 ? kFallbackRate : hostRate;

    // The meter runs at the host's own rate; only its frequency limit uses the engine's.
    FilterSection& meter = engine.meterSection;
    limitAndDesign(meter, hostRate, rate);
    meter.frequency = 2.3333333333333335;
    meter.design();
    meter.design();
    // Resting at 1.0 (no gain reduction) keeps the needle still instead of
    // slamming it to full scale at every resume.
    meter.rest(1.0);

    engine.engineOffset = 1e-17;
    // The crossfade lasts as long at every rate the host runs at.
    fade.length = std::max<int32>(1, static_cast<int32>(std::lround(kFadeSeconds * hostRate)));
    fade.active = false;
    valveRate = hostRate;
    for (FilterSection* section : {&engine.detectorFilterLeft, &engine.detectorFilterRight}) {
        section->rate = rate;
        if (section->type) section->design();
        section->clear();
    }
    for (OversampledValves& set : valves)
        for (oversampling::Valve& valve : set) valve.reset(valveRate);

    for (FilterSection* section : processingSections()) limitAndDesign(*section, rate, rate);
    engine.fastDetector.frequency = 5.0;
    engine.fastDetector.design();
    engine.fastDetector.Q = 0.5;
    engine.fastDetector.design();
    engine.slowDetector.frequency = 2.0;
    engine.slowDetector.design();
    engine.slowDetector.Q = 0.5;
    engine.slowDetector.design();
    for (FilterSection* section : processingSections()) section->clear();
}

void Engine::rest() { restSections(); }

void Engine::clear() {
    restSections();
    engine.engineOffset = 1e-17;
}

void Engine::restSections() {
    engine.meterSection.rest(1.0);
    engine.meterSection.design();
    engine.sideChainLeft.design();
    engine.sideChainLeft.clear();
    engine.sideChainRight.design();
    engine.sideChainRight.clear();
    engine.cellSection.design();
    engine.cellSection.clear();
    engine.fastDetector.design();
    engine.fastDetector.clear();
    engine.slowDetector.design();
    engine.slowDetector.clear();
    engine.detectorFilterLeft.clear();
    engine.detectorFilterRight.clear();
    meterReading.store(1.0, std::memory_order_relaxed);
    engine.cellLevel = 0.0001;
}
