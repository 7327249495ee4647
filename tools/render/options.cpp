// Command-line parsing: every option is checked here, before anything is
// loaded or written, so a typo never costs a long render.
#include "options.h"

#include <charconv>
#include <functional>
#include <map>

#include "toolError.h"

namespace render {

namespace {

int parseInt(const std::string& option, const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || rest != end || value < low || value > high) {
        throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    }
    return value;
}

void checkBatchCombinations(const Options& o) {
    if (!o.batch) return;
    if (o.output)
        throw UsageError("an output file is named for one input only; several inputs take --out-dir DIR");
    for (const auto& [given, name] : {std::pair{o.plot.has_value(), "--plot"}, std::pair{o.report.has_value(), "--report"},
                                      std::pair{o.editorPng.has_value(), "--editor-png"}})
        if (given) throw UsageError(std::string(name) + " belongs to a render of one file, not to a batch");
}

void checkCombinations(const Options& o) {
    const bool bankChoice = o.preset || o.slot;
    if (o.preset && o.slot) throw UsageError("--preset and --slot both choose a preset; give one");
    if (o.presetFile && (bankChoice || o.bankFile))
        throw UsageError("--preset-file cannot be combined with --preset, --slot or --bank-file");
    if (o.plugins.size() > 1 && !o.bench)
        throw UsageError("several --plugin paths are only measured with --bench");
    if (o.vst2 && !o.plugins.empty() && !o.bench)
        throw UsageError("--vst2 and --plugin both choose the plug-in; give one");
    const bool files = !o.files.empty() || o.outDir;
    if (o.list && (files || o.output || o.bench || o.plot || o.report || o.editorPng))
        throw UsageError("--list prints the effect's parameters and takes no files");
    if (o.bench && (files || o.output || o.plot || o.report || o.editorPng || o.floatOutput))
        throw UsageError("--bench renders its own signal and writes no files");
    checkBatchCombinations(o);
    if (o.keyFile && (o.batch || o.list || o.bench))
        throw UsageError("--key is the side-chain of one render, not of --list, --bench or a batch");
    if (o.keyFile && (o.vst2 || !o.plugins.empty()))
        throw UsageError("--key needs the built-in compressor: the VST 2.x plug-in has no key input");
    if (o.bothPrecisions && !o.bench)
        throw UsageError("--precision both is for --bench; a render uses one sample width");
    if (o.bench && o.plugins.size() + (o.vst2 ? 1 : 0) > 1 &&
        (!o.sets.empty() || o.preset || o.slot || o.presetFile || o.bankFile))
        throw UsageError("settings apply to one plug-in; several plug-ins are measured as loaded");
    for (const std::string& set : o.sets) {
        const auto equals = set.find('=');
        if (equals == std::string::npos || equals == 0)
            throw UsageError("--set needs INDEX=VALUE or NAME=DISPLAY, not \"" + set + "\"");
    }
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options o;
    using Handler = std::function<void(const std::string& option, const std::string& value)>;
    const std::map<std::string, Handler> withValue = {
        {"--plugin", [&](auto&, auto& v) { o.plugins.push_back(v); }},
        {"--set", [&](auto&, auto& v) { o.sets.push_back(v); }},
        {"--preset", [&](auto&, auto& v) { o.preset = v; }},
        {"--slot", [&](auto& n, auto& v) { o.slot = parseInt(n, v, 0, 32); }},
        {"--preset-file", [&](auto&, auto& v) { o.presetFile = v; }},
        {"--key", [&](auto&, auto& v) { o.keyFile = v; }},
        {"--bank-file", [&](auto&, auto& v) { o.bankFile = v; }},
        {"--precision",
         [&](auto& n, auto& v) {
             if (v == "both") {
                 o.bothPrecisions = true;
                 return;
             }
             if (v != "32" && v != "64") throw UsageError(n + " is 32 or 64, not \"" + v + "\"");
             o.precision = v == "32" ? 32 : 64;
         }},
        {"--block", [&](auto& n, auto& v) { o.blockSize = parseInt(n, v, 1, 65536); }},
        {"--plot", [&](auto&, auto& v) { o.plot = v; }},
        {"--report", [&](auto&, auto& v) { o.report = v; }},
        {"--editor-png", [&](auto&, auto& v) { o.editorPng = v; }},
        {"--output", [&](auto&, auto& v) { o.output = v; }},
        {"-o", [&](auto&, auto& v) { o.output = v; }},
        {"--runs", [&](auto& n, auto& v) { o.benchRuns = parseInt(n, v, 1, 100); }},
        {"--out-dir", [&](auto&, auto& v) { o.outDir = v; }},
        {"--jobs", [&](auto& n, auto& v) { o.jobs = parseInt(n, v, 1, 256); }},
        {"-j", [&](auto& n, auto& v) { o.jobs = parseInt(n, v, 1, 256); }},
    };
    const std::map<std::string, bool*> flags = {
        {"--float", &o.floatOutput}, {"--force", &o.force}, {"--quiet", &o.quiet},
        {"-q", &o.quiet},            {"--list", &o.list},   {"--bench", &o.bench},
        {"--help", &o.help},         {"-h", &o.help},       {"--version", &o.version},
        {"--vst2", &o.vst2},
    };

    std::vector<std::string> positional;
    bool onlyPositional = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (onlyPositional || argument.empty() || argument[0] != '-' || argument == "-") {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyPositional = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const auto equals = argument.find('='); argument.rfind("--", 0) == 0 &&
                                                    equals != std::string::npos) {
            inlineValue = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        if (auto flag = flags.find(argument); flag != flags.end()) {
            if (inlineValue) throw UsageError(argument + " takes no value");
            *flag->second = true;
        } else if (auto handler = withValue.find(argument); handler != withValue.end()) {
            if (!inlineValue && i + 1 >= arguments.size())
                throw UsageError(argument + " needs a value");
            handler->second(argument, inlineValue ? *inlineValue : arguments[++i]);
        } else {
            throw UsageError("unknown option " + argument + " (see --help)");
        }
    }
    if (o.help || o.version) return o;

    o.files = positional;
    if (o.outDir || positional.size() > 2) {
        // A batch: every name is an input.
        if (positional.empty()) throw UsageError("--out-dir needs the input files to render into it");
        o.batch = true;
    } else {
        if (!positional.empty()) o.input = positional[0];
        if (positional.size() == 2) {
            if (o.output) throw UsageError("the output is given twice (OUTPUT and --output)");
            o.output = positional[1];
        }
    }
    for (const auto* path : {&o.input, &o.output, &o.plot, &o.report, &o.editorPng, &o.presetFile,
                             &o.bankFile, &o.outDir})
        if (*path && (*path)->empty()) throw UsageError("an empty file name was given");
    for (const std::string& file : o.files)
        if (file.empty()) throw UsageError("an empty file name was given");
    checkCombinations(o);
    return o;
}

const char* usageText() {
    return R"(Usage: kvbr-render [options] [INPUT [OUTPUT]]
       kvbr-render [options] INPUT INPUT... [--out-dir DIR] [-j N]

Renders INPUT (WAV, AIFF or FLAC; mono or stereo; any rate) through Korvane
Brassel, built into this tool, into OUTPUT, in the input's format: the same
samples as its VST 2.x plug-in gives. Without INPUT it renders the
built-in demo loop through the "Default" preset into demo/out.wav,
demo/gain-reduction.png and demo/editor.png, with the loop itself in
demo/in.wav.

Several inputs make a batch, rendered in parallel, each file through its own
instance of the effect: into DIR under the input's own name with --out-dir
(DIR and its parents are made when missing), else beside each input with
"-brassel" added. Two names are always INPUT OUTPUT; to render two files, give
--out-dir. A file that fails is reported and the others are still rendered;
the exit status is 1 when any failed.

Files
  -o, --output FILE      output file (default: INPUT's name with "-brassel" added)
  --float                write 32-bit float samples instead of the input's format
  --force                replace outputs that already exist
  --plot FILE.png        draw input level, output level and gain reduction over time
  --report FILE.json     write the summary as JSON
  --editor-png FILE.png  draw Korvane Brassel's editor as the render left it,
                         settings, preset name and meter included
  --out-dir DIR          a batch of any number of inputs: write the outputs into
                         DIR (made when missing), under the inputs' names
  -j, --jobs N           with several inputs: render N files at once (default:
                         one per processor core)

Plug-in
  --plugin PATH          render through a Linux VST 2.x plug-in instead; a shell
                         holding several effects opens its first
  --vst2                 render through Korvane Brassel's VST 2.x plug-in instead:
                         korvane-brassel.so beside this tool, else in $VST_PATH
                         (folders separated by colons), ~/.vst, /usr/local/lib/vst
                         or /usr/lib/vst, in that order
  --precision 32|64      sample width of the process calls (default: 64 when the
                         effect can, else 32); with --bench also "both"
  --block N              frames per process call, 1 to 65536 (default 512)

Settings, applied in this order
  --preset NAME          a factory preset of Korvane Brassel, by name (with
                         --bank-file: a preset of that bank)
  --slot N               a factory preset by slot 0 to 32 (with --bank-file: that
                         slot of the bank)
  --preset-file F.kvp    a saved preset
  --bank-file F.kvb      a saved bank; slot 0 unless --slot or --preset picks another
  --set INDEX=VALUE      a parameter by number, normalised value 0 to 1
  --set NAME=DISPLAY     a parameter by name, by the text the plug-in shows,
                         e.g. --set Ratio=4:1 --set Compression=6.5
  --key FILE             the detector listens to FILE instead of the input (Key
                         External), for ducking; same rate as the input, mono or
                         stereo, silence after its end

Other
  --list                 print the parameters, their display texts and the presets
  --bench                time the built-in compressor on a fixed 60 s stereo signal,
                         and each plug-in given with --plugin or --vst2 beside it
                         (their passes take turns)
  --runs N               bench passes per effect (default 5)
  -q, --quiet            no progress bar and no summary
  -h, --help             this text
  --version              the tool's version
)";
}

}  // namespace render
