// What the renderer's tests share: scratch folders, running the tool, test
// signals, audio files, and the reference render through the test host.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    std::string file(const std::string& name) const { return path + "/" + name; }
    // The names in the folder, hidden ones included (a partial file would show here).
    std::vector<std::string> entries() const;
    std::string path;
};

struct ToolRun {
    int status = -1;  // exit status, -1 when killed by a signal
    std::string out;
    std::string err;
};

// Runs build/kvbr-render with the arguments in `folder`.
ToolRun runTool(const std::vector<std::string>& arguments, const std::string& folder,
                const std::string& environment = "");

// A deterministic test signal with dynamics: tone bursts over noise,
// interleaved, different in each channel; peaks at `peak`.
std::vector<double> testSignal(int channels, double rate, double seconds, double peak = 0.9);

// Writes interleaved samples; integer formats take the tool's own scaling.
void writeAudio(const std::string& path, int format, int channels, double rate,
                const std::vector<double>& interleaved);

struct Decoded {
    SF_INFO info{};
    std::vector<double> samples;   // decoded as the tool decodes: int / 2^31, or as stored (doubles in full)
    std::vector<int> integers;     // the file's integer steps, for PCM formats
};
Decoded readAudio(const std::string& path);

// Bits of a PCM encoding, 0 for float.
int pcmBits(int format);

// The input rendered through the plug-in by the test host, in the tool's
// order of calls: rate, block size, layout, the parameter values, resume,
// then blocks of `block` frames in the given precision.
std::vector<double> renderWithTestHost(const std::vector<double>& interleaved, int channels,
                                       double rate, int block, bool doublePrecision,
                                       const std::vector<std::pair<int, float>>& parameters);
