// The command line of kvbr-render, parsed into one record.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace render {

struct Options {
    std::optional<std::string> input;  // none: render the built-in demo loop
    std::optional<std::string> output;
    // Every file named on the command line, in order. With --out-dir, or with
    // three or more, they are all inputs of a batch (see batch.h); otherwise
    // one name is INPUT and two are INPUT OUTPUT.
    std::vector<std::string> files;
    bool batch = false;
    std::optional<std::string> outDir;
    int jobs = 0;  // batch renders at once; 0: one per processor core
    std::vector<std::string> plugins;  // none: the compressor built into the tool
    bool vst2 = false;  // Korvane Brassel's own VST 2.x plug-in, found where hosts look
    std::vector<std::string> sets;     // "INDEX=VALUE" or "NAME=DISPLAY", in command order
    std::optional<std::string> preset;
    std::optional<int> slot;
    std::optional<std::string> presetFile;
    std::optional<std::string> keyFile;  // the side-chain's audio: renders with Key External
    std::optional<std::string> bankFile;
    int precision = 0;  // 32 or 64; 0 picks 64 when the effect can, else 32
    bool bothPrecisions = false;  // --bench --precision both: 32-bit, and 64-bit where it can
    int blockSize = 512;
    bool floatOutput = false;
    bool force = false;
    bool quiet = false;
    std::optional<std::string> plot;
    std::optional<std::string> report;
    std::optional<std::string> editorPng;
    bool list = false;
    bool bench = false;
    int benchRuns = 5;
    bool help = false;
    bool version = false;
};

// Throws UsageError with a one-line reason for anything it cannot accept.
Options parseOptions(const std::vector<std::string>& arguments);

// The text --help prints.
const char* usageText();

}  // namespace render
