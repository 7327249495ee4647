#include "renderTestSupport.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "tests/host/TestHost.h"

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& s) {
    std::string q(1, '\'');
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    q += '\'';
    return q;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

ScratchFolder::ScratchFolder() {
    std::random_device random;
    path = (fs::temp_directory_path() / ("kvbr-render-test-" + std::to_string(random()))).string();
    fs::create_directories(path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

std::vector<std::string> ScratchFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path)) names.push_back(e.path().filename().string());
    return names;
}

ToolRun runTool(const std::vector<std::string>& arguments, const std::string& folder,
                const std::string& environment) {
    const std::string out = folder + "/.tool-stdout", err = folder + "/.tool-stderr";
    std::string command = "cd ";
    command += quoted(folder);
    command += " && ";
    command += environment;
    command += ' ';
    command += quoted(KVBR_RENDER_PATH);
    for (const auto& a : arguments) {
        command += ' ';
        command += quoted(a);
    }
    command += " </dev/null >";
    command += quoted(out);
    command += " 2>";
    command += quoted(err);
    const int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = slurp(out);
    run.err = slurp(err);
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::vector<double> testSignal(int channels, double rate, double seconds, double peak) {
    const size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<double> s(frames * channels);
    std::mt19937 noise(7);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    for (size_t f = 0; f < frames; ++f) {
        const double t = f / rate;
        // Bursts every 150 ms of rising strength: loud attacks, quiet tails.
        const double sinceBurst = std::fmod(t, 0.15);
        const double strength = 0.3 + 0.7 * std::fmod(t / 0.15, 4.0) / 4.0;
        const double envelope = strength * std::exp(-sinceBurst / 0.04);
        for (int c = 0; c < channels; ++c) {
            const double tone = std::sin(2.0 * M_PI * (110.0 + 55.0 * c) * t) +
                                0.3 * std::sin(2.0 * M_PI * 1300.0 * t);
            s[f * channels + c] = peak * (0.7 * envelope * tone / 1.3 + 0.05 * uniform(noise));
        }
    }
    return s;
}

int pcmBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8: return 8;
        case SF_FORMAT_PCM_16: return 16;
        case SF_FORMAT_PCM_24: return 24;
        case SF_FORMAT_PCM_32: return 32;
        default: return 0;
    }
}

void writeAudio(const std::string& path, int format, int channels, double rate,
                const std::vector<double>& interleaved) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = static_cast<int>(rate);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) throw std::runtime_error("cannot write test file " + path + ": " + sf_strerror(nullptr));
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size() / channels);
    if (const int bits = pcmBits(format)) {
        std::vector<int> ints(interleaved.size());
        const double scale = std::ldexp(1.0, bits - 1);
        for (size_t i = 0; i < ints.size(); ++i)
            ints[i] = static_cast<int>(std::lround(interleaved[i] * (scale - 1.0))) << (32 - bits);
        sf_writef_int(file, ints.data(), frames);
    } else {
        std::vector<float> floats(interleaved.begin(), interleaved.end());
        sf_writef_float(file, floats.data(), frames);
    }
    sf_close(file);
}

Decoded readAudio(const std::string& path) {
    Decoded d;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &d.info);
    if (!file) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    const size_t count = static_cast<size_t>(d.info.frames) * d.info.channels;
    d.samples.resize(count);
    if (const int bits = pcmBits(d.info.format)) {
        std::vector<int> ints(count);
        sf_readf_int(file, ints.data(), d.info.frames);
        d.integers.resize(count);
        for (size_t i = 0; i < count; ++i) {
            d.samples[i] = ints[i] / 2147483648.0;
            d.integers[i] = ints[i] >> (32 - bits);
        }
    } else if ((d.info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_DOUBLE) {
        sf_readf_double(file, d.samples.data(), d.info.frames);
    } else {
        std::vector<float> floats(count);
        sf_readf_float(file, floats.data(), d.info.frames);
        d.samples.assign(floats.begin(), floats.end());
    }
    sf_close(file);
    return d;
}

namespace {

template <typename Sample>
void processAll(TestHost& host, const std::vector<double>& in, std::vector<double>& out, int channels,
                int block) {
    const size_t frames = in.size() / channels;
    std::vector<std::vector<Sample>> inPins(2, std::vector<Sample>(block)), outPins(2, std::vector<Sample>(block));
    Sample* inPtr[2] = {inPins[0].data(), inPins[1].data()};
    Sample* outPtr[2] = {outPins[0].data(), outPins[1].data()};
    for (size_t at = 0; at < frames; at += block) {
        const int n = static_cast<int>(std::min<size_t>(block, frames - at));
        for (int p = 0; p < 2; ++p)
            for (int i = 0; i < n; ++i)
                inPins[p][i] = static_cast<Sample>(in[(at + i) * channels + (channels == 1 ? 0 : p)]);
        if constexpr (sizeof(Sample) == sizeof(double))
            host.effect->processDoubleReplacing(host.effect, inPtr, outPtr, n);
        else
            host.effect->processReplacing(host.effect, inPtr, outPtr, n);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i) out[(at + i) * channels + c] = outPins[c][i];
    }
}

}  // namespace

std::vector<double> renderWithTestHost(const std::vector<double>& interleaved, int channels,
                                       double rate, int block, bool doublePrecision,
                                       const std::vector<std::pair<int, float>>& parameters) {
    ScratchConfigHome config;
    TestHost host;
    if (!host.open()) throw std::runtime_error("the plug-in gave no effect");
    host.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    host.dispatch(vst2::effSetBlockSize, 0, block);
    vst2::VstSpeakerArrangement in, out;
    std::memset(&in, 0, sizeof(in));
    std::memset(&out, 0, sizeof(out));
    in.numChannels = out.numChannels = channels;
    host.dispatch(vst2::effSetSpeakerArrangement, 0, reinterpret_cast<vst2::intptr>(&in), &out);
    for (const auto& [index, value] : parameters) host.effect->setParameter(host.effect, index, value);
    host.dispatch(vst2::effMainsChanged, 0, 1);
    std::vector<double> result(interleaved.size());
    if (doublePrecision)
        processAll<double>(host, interleaved, result, channels, block);
    else
        processAll<float>(host, interleaved, result, channels, block);
    return result;
}
