#include "statistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

double toDecibels(double linear) {
    return linear > 0.0 ? 20.0 * std::log10(linear) : -std::numeric_limits<double>::infinity();
}

double gainReductionDb(double meterReading) {
    // The meter's low-pass may overshoot 1.0 a little; that is no reduction.
    if (!(meterReading > 1e-6)) return 120.0;
    return std::max(0.0, -20.0 * std::log10(meterReading));
}

RenderStatistics::RenderStatistics(int channels, double sampleRate, std::int64_t expectedFrames,
                                   int segmentsWanted)
    : channelCount(channels),
      rate(sampleRate),
      framesPerSegment(std::max<std::int64_t>(
          1, (expectedFrames + segmentsWanted - 1) / std::max(1, segmentsWanted))) {
    segments.reserve(static_cast<size_t>(expectedFrames / framesPerSegment + 1));
}

void RenderStatistics::addBlock(const double* input, const double* output, int frames,
                                std::optional<double> meterReading) {
    for (int f = 0; f < frames; ++f) {
        const size_t index = static_cast<size_t>((frameCount + f) / framesPerSegment);
        if (index >= segments.size()) segments.resize(index + 1);
        Segment& s = segments[index];
        for (int c = 0; c < channelCount; ++c) {
            const double x = input[f * channelCount + c];
            const double y = output[f * channelCount + c];
            const double ax = std::fabs(x), ay = std::fabs(y);
            s.inputPeak = std::max(s.inputPeak, ax);
            s.outputPeak = std::max(s.outputPeak, ay);
            s.inputSquares += x * x;
            s.outputSquares += y * y;
            // A NaN from a misbehaving plug-in must not hide behind max().
            if (std::isnan(y)) s.outputPeak = std::numeric_limits<double>::infinity();
        }
        s.samples += channelCount;
    }
    if (frames > 0) {
        const size_t first = static_cast<size_t>(frameCount / framesPerSegment);
        const size_t last = static_cast<size_t>((frameCount + frames - 1) / framesPerSegment);
        for (size_t i = first; i <= last; ++i) {
            inPeak = std::max(inPeak, segments[i].inputPeak);
            outPeak = std::max(outPeak, segments[i].outputPeak);
        }
        for (int i = 0; i < frames * channelCount; ++i) {
            inSquares += input[i] * input[i];
            outSquares += output[i] * output[i];
        }
    }
    frameCount += frames;
    if (meterReading && frames > 0) {
        const double reduction = gainReductionDb(*meterReading);
        Segment& s = segments[static_cast<size_t>((frameCount - 1) / framesPerSegment)];
        s.reductionSum += reduction;
        ++s.reductionCount;
        reductionWeighted += reduction * frames;
        reductionFrames += frames;
        maxReduction = std::max(maxReduction, reduction);
    }
}

double RenderStatistics::inputRms() const {
    return frameCount ? std::sqrt(inSquares / (frameCount * channelCount)) : 0.0;
}

double RenderStatistics::outputRms() const {
    return frameCount ? std::sqrt(outSquares / (frameCount * channelCount)) : 0.0;
}

double RenderStatistics::averageReductionDb() const {
    return reductionFrames ? reductionWeighted / reductionFrames : 0.0;
}

}  // namespace render
