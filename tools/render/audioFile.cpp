#include "audioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "toolError.h"

namespace render {

namespace {

constexpr double kIntScale = 2147483648.0;  // 2^31: libsndfile's int samples are left-justified

// Bits of an integer encoding, or 0 for anything else.
int integerBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8: return 8;
        case SF_FORMAT_PCM_16: return 16;
        case SF_FORMAT_PCM_24: return 24;
        case SF_FORMAT_PCM_32: return 32;
        default: return 0;
    }
}

std::string containerName(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
        case SF_FORMAT_WAV: return "WAV";
        case SF_FORMAT_AIFF: return "AIFF";
        case SF_FORMAT_FLAC: return "FLAC";
        case SF_FORMAT_W64: return "W64";
        case SF_FORMAT_RF64: return "RF64";
        case SF_FORMAT_CAF: return "CAF";
        case SF_FORMAT_OGG: return "Ogg";
        default: return "audio";
    }
}

bool formatIsValid(int format, int channels, double rate) {
    SF_INFO probe{};
    probe.format = format;
    probe.channels = channels;
    probe.samplerate = static_cast<int>(rate);
    return sf_format_check(&probe) != 0;
}

std::string encodingName(int format) {
    if (const int bits = integerBits(format)) return std::to_string(bits) + "-bit";
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_FLOAT: return "32-bit float";
        case SF_FORMAT_DOUBLE: return "64-bit float";
        case SF_FORMAT_ULAW: return "u-law";
        case SF_FORMAT_ALAW: return "A-law";
        case SF_FORMAT_VORBIS: return "Vorbis";
        default: return "encoded";
    }
}

}  // namespace

std::string AudioInfo::describe() const { return containerName(format) + " " + encodingName(format); }

struct AudioFileReader::Impl {
    SNDFILE* file = nullptr;
    std::vector<int> ints;
};

AudioFileReader::AudioFileReader(const std::string& path) : impl(std::make_unique<Impl>()) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw ToolError("no such file: " + path);
    if (!std::filesystem::is_regular_file(path, ec))
        throw ToolError("cannot read " + path + ": not a regular file");
    if (!std::ifstream(path, std::ios::binary))
        throw ToolError("cannot read " + path + ": permission denied");
    SF_INFO sfInfo{};
    impl->file = sf_open(path.c_str(), SFM_READ, &sfInfo);
    if (!impl->file) {
        throw ToolError("cannot read " + path + ": not a WAV, AIFF or FLAC file (" +
                        sf_strerror(nullptr) + ")");
    }
    fileInfo.channels = sfInfo.channels;
    fileInfo.sampleRate = sfInfo.samplerate;
    fileInfo.frames = sfInfo.frames;
    fileInfo.format = sfInfo.format;
    if (sfInfo.channels < 1 || sfInfo.channels > 2) {
        sf_close(impl->file);
        impl->file = nullptr;
        throw ToolError(path + " has " + std::to_string(sfInfo.channels) +
                        " channels; only mono and stereo files are rendered");
    }
    if (sfInfo.samplerate <= 0) {
        sf_close(impl->file);
        impl->file = nullptr;
        throw ToolError(path + " has no valid sample rate");
    }
}

AudioFileReader::~AudioFileReader() {
    if (impl->file) sf_close(impl->file);
}

int AudioFileReader::read(double* interleaved, int frames) {
    const int channels = fileInfo.channels;
    if (integerBits(fileInfo.format)) {
        impl->ints.resize(static_cast<size_t>(frames) * channels);
        const sf_count_t got = sf_readf_int(impl->file, impl->ints.data(), frames);
        for (sf_count_t i = 0; i < got * channels; ++i) interleaved[i] = impl->ints[i] / kIntScale;
        return static_cast<int>(got);
    }
    return static_cast<int>(sf_readf_double(impl->file, interleaved, frames));
}

MemorySource::MemorySource(std::vector<double> interleaved, int channels, double sampleRate,
                           int format)
    : samples(std::move(interleaved)) {
    memoryInfo.channels = channels;
    memoryInfo.sampleRate = sampleRate;
    memoryInfo.frames = static_cast<std::int64_t>(samples.size() / channels);
    memoryInfo.format = format;
}

int MemorySource::read(double* interleaved, int frames) {
    const size_t channels = static_cast<size_t>(memoryInfo.channels);
    const size_t available = (samples.size() - position) / channels;
    const size_t count = std::min(available, static_cast<size_t>(frames));
    std::copy_n(samples.begin() + position, count * channels, interleaved);
    position += count * channels;
    return static_cast<int>(count);
}

struct AudioFileWriter::Impl {
    SNDFILE* file = nullptr;
    std::string path;
    int format = 0;
    int channels = 0;
    std::vector<int> ints;
    std::vector<float> floats;
};

AudioFileWriter::AudioFileWriter(const std::string& path, int format, int channels,
                                 double sampleRate, const std::string& shownName)
    : impl(std::make_unique<Impl>()) {
    SF_INFO sfInfo{};
    sfInfo.format = format;
    sfInfo.channels = channels;
    sfInfo.samplerate = static_cast<int>(sampleRate);
    impl->file = sf_open(path.c_str(), SFM_WRITE, &sfInfo);
    if (!impl->file) throw ToolError("cannot create " + shownName + ": " + sf_strerror(nullptr));
    // Formats this tool does not convert itself must clip, not wrap around.
    sf_command(impl->file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    impl->path = shownName;
    impl->format = format;
    impl->channels = channels;
}

AudioFileWriter::~AudioFileWriter() {
    if (impl->file) sf_close(impl->file);
}

void AudioFileWriter::write(const double* interleaved, int frames) {
    const size_t count = static_cast<size_t>(frames) * impl->channels;
    sf_count_t written = 0;
    if (const int bits = integerBits(impl->format)) {
        // Round to the file's own step, then left-justify for libsndfile, which
        // drops the low bits without rounding.
        const double scale = std::ldexp(1.0, bits - 1);
        const double top = scale - 1.0;
        impl->ints.resize(count);
        for (size_t i = 0; i < count; ++i) {
            double q = std::nearbyint(interleaved[i] * scale);
            if (std::isnan(q)) q = 0.0;
            q = std::clamp(q, -scale, top);
            impl->ints[i] = static_cast<int>(static_cast<long long>(q) * (1LL << (32 - bits)));
        }
        written = sf_writef_int(impl->file, impl->ints.data(), frames);
    } else if ((impl->format & SF_FORMAT_SUBMASK) == SF_FORMAT_FLOAT) {
        impl->floats.resize(count);
        for (size_t i = 0; i < count; ++i) impl->floats[i] = static_cast<float>(interleaved[i]);
        written = sf_writef_float(impl->file, impl->floats.data(), frames);
    } else {
        written = sf_writef_double(impl->file, interleaved, frames);
    }
    if (written != frames)
        throw ToolError("cannot write " + impl->path + ": " + sf_strerror(impl->file));
}

void AudioFileWriter::close() {
    if (!impl->file) return;
    sf_write_sync(impl->file);
    const int status = sf_close(impl->file);
    impl->file = nullptr;
    if (status != 0) throw ToolError("cannot finish " + impl->path + ": " + sf_error_number(status));
}

int outputFormatFor(const AudioInfo& input, const std::string& outputPath, bool floatOutput) {
    std::string extension = std::filesystem::path(outputPath).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    int container = input.format & SF_FORMAT_TYPEMASK;
    if (extension == ".wav") container = SF_FORMAT_WAV;
    if (extension == ".aif" || extension == ".aiff" || extension == ".aifc") container = SF_FORMAT_AIFF;
    if (extension == ".flac") container = SF_FORMAT_FLAC;

    int encoding = floatOutput ? SF_FORMAT_FLOAT : (input.format & SF_FORMAT_SUBMASK);
    // 8-bit WAV is unsigned and 8-bit AIFF signed: keep the depth, take the container's kind.
    if (integerBits(encoding) == 8 && !formatIsValid(container | encoding, input.channels, input.sampleRate))
        encoding = encoding == SF_FORMAT_PCM_U8 ? SF_FORMAT_PCM_S8 : SF_FORMAT_PCM_U8;
    const int format = container | encoding;
    if (!formatIsValid(format, input.channels, input.sampleRate)) {
        throw UsageError(containerName(format) + " files cannot hold " + encodingName(format) +
                         " samples; choose another output name or format");
    }
    return format;
}

int demoOutputFormat() { return SF_FORMAT_WAV | SF_FORMAT_PCM_24; }

}  // namespace render
