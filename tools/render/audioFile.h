// Audio in and out through libsndfile: any rate, mono or stereo, integer or
// float samples, exchanged with the rest of the tool as interleaved doubles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace render {

struct AudioInfo {
    int channels = 0;
    double sampleRate = 0.0;
    std::int64_t frames = 0;
    int format = 0;  // container and sample encoding, as libsndfile numbers them

    double seconds() const { return sampleRate > 0.0 ? frames / sampleRate : 0.0; }
    std::string describe() const;  // e.g. "WAV 24-bit", "FLAC 16-bit", "AIFF 32-bit float"
};

// Where the frames to render come from: a file or generated material.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual const AudioInfo& info() const = 0;
    // Reads up to `frames` interleaved frames; answers how many it read (0 at the end).
    virtual int read(double* interleaved, int frames) = 0;
};

// Integer samples are scaled symmetrically (full scale 2^(bits-1)) so that a
// file passed through unchanged comes out bit for bit as it went in.
class AudioFileReader : public AudioSource {
public:
    // Throws ToolError: missing, unreadable, not audio, or not mono or stereo.
    explicit AudioFileReader(const std::string& path);
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    const AudioInfo& info() const override { return fileInfo; }
    int read(double* interleaved, int frames) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
    AudioInfo fileInfo;
};

// Frames already in memory (the demo loop, the bench signal).
class MemorySource : public AudioSource {
public:
    MemorySource(std::vector<double> interleaved, int channels, double sampleRate, int format);
    const AudioInfo& info() const override { return memoryInfo; }
    int read(double* interleaved, int frames) override;

private:
    std::vector<double> samples;
    size_t position = 0;
    AudioInfo memoryInfo;
};

class AudioFileWriter {
public:
    // Throws ToolError when the file cannot be created; messages name the
    // file as `shownName` (the final name of a staged output).
    AudioFileWriter(const std::string& path, int format, int channels, double sampleRate,
                    const std::string& shownName);
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // Integer formats are rounded to their step and clipped at full scale.
    void write(const double* interleaved, int frames);
    // Flushes and closes; throws ToolError when the data did not reach the disk.
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// The format of the output: the container named by the output's extension
// (.wav, .aif/.aiff, .flac), else the input's; the input's sample encoding,
// or 32-bit float with floatOutput. Throws UsageError for a combination the
// container cannot hold (float in FLAC).
int outputFormatFor(const AudioInfo& input, const std::string& outputPath, bool floatOutput);

// The demo's output: WAV with 24-bit samples.
int demoOutputFormat();

}  // namespace render
