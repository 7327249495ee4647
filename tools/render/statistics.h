// What a render measured: peak and RMS of input and output, the gain
// reduction the plug-in's meter reported, and a timeline for the plot.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace render {

// Decibels of a linear level; -infinity for silence.
double toDecibels(double linear);
// Gain reduction in dB (positive) for a meter reading (1.0 = none).
double gainReductionDb(double meterReading);

// A stretch of the timeline: the sums needed for its levels and the meter
// readings taken at the ends of blocks that fall in it.
struct Segment {
    double inputPeak = 0.0, inputSquares = 0.0;
    double outputPeak = 0.0, outputSquares = 0.0;
    std::int64_t samples = 0;  // over all channels
    double reductionSum = 0.0;
    int reductionCount = 0;
};

class RenderStatistics {
public:
    // The timeline keeps about `segmentsWanted` segments over expectedFrames.
    RenderStatistics(int channels, double sampleRate, std::int64_t expectedFrames,
                     int segmentsWanted = 4000);

    // One processed block, interleaved; the meter reading taken after it, if any.
    void addBlock(const double* input, const double* output, int frames,
                  std::optional<double> meterReading);

    int channels() const { return channelCount; }
    double sampleRate() const { return rate; }
    std::int64_t frames() const { return frameCount; }
    double seconds() const { return rate > 0.0 ? frameCount / rate : 0.0; }

    double inputPeak() const { return inPeak; }
    double outputPeak() const { return outPeak; }
    double inputRms() const;
    double outputRms() const;
    bool hasGainReduction() const { return reductionFrames > 0; }
    double averageReductionDb() const;  // time-weighted over the blocks
    double maximumReductionDb() const { return maxReduction; }

    const std::vector<Segment>& timeline() const { return segments; }
    std::int64_t segmentFrames() const { return framesPerSegment; }

private:
    int channelCount;
    double rate;
    std::int64_t framesPerSegment;
    std::vector<Segment> segments;
    std::int64_t frameCount = 0;
    double inPeak = 0.0, outPeak = 0.0;
    double inSquares = 0.0, outSquares = 0.0;
    double reductionWeighted = 0.0;
    std::int64_t reductionFrames = 0;
    double maxReduction = 0.0;
};

}  // namespace render
