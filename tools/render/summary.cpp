#include "summary.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace render {

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// JSON has no infinity: silence is null.
std::string jsonNumber(double value, int decimals = 2) {
    if (!std::isfinite(value)) return "null";
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, value);
    return text;
}

std::string jsonDb(double linear) { return jsonNumber(toDecibels(linear)); }

std::string channelsName(int channels) { return channels == 1 ? "mono" : "stereo"; }

}  // namespace

double RenderSummary::realTimeFactor() const {
    const double audio = statistics ? statistics->seconds() : 0.0;
    return elapsedSeconds > 0.0 ? audio / elapsedSeconds : 0.0;
}

std::vector<ParameterState> namedParameters(Effect& effect) {
    std::vector<ParameterState> states;
    for (int i = 0; i < effect.numParams(); ++i) {
        ParameterState s;
        s.index = i;
        s.name = effect.parameterName(i);
        if (s.name.empty()) continue;
        s.display = effect.parameterDisplay(i);
        const std::string label = effect.parameterLabel(i);
        if (!label.empty()) s.display += " " + label;
        s.value = effect.getParameter(i);
        states.push_back(s);
    }
    return states;
}

std::string formatDbfs(double linear) {
    const double db = toDecibels(linear);
    if (std::isinf(db) && db < 0.0) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f dBFS", db);
    return text;
}

std::string settingsText(const RenderSummary& s) {
    constexpr size_t kAllUpTo = 12;
    std::string line;
    for (const auto& p : s.parameters) {
        const bool wanted = s.parameters.size() <= kAllUpTo ||
                            std::find(s.changed.begin(), s.changed.end(), p.index) != s.changed.end();
        if (wanted) line += (line.empty() ? "" : ", ") + p.name + " " + p.display;
    }
    if (s.parameters.size() > kAllUpTo) line = line.empty() ? "as loaded" : line + ", the rest as loaded";
    if (!s.preset.empty()) line = "preset " + s.preset + ": " + line;
    return line;
}

void printSummary(const RenderSummary& s, std::FILE* out) {
    const RenderStatistics& st = *s.statistics;
    std::fprintf(out, "%s (%s) - %s, %.0f Hz %s, %.2f s, block %d, %d-bit processing\n",
                 s.plugin.displayName().c_str(),
                 s.plugin.builtIn ? "built-in" : s.plugin.uniqueIDText().c_str(), s.inputName.c_str(),
                 s.input.sampleRate, channelsName(s.input.channels).c_str(), st.seconds(),
                 s.blockSize, s.precision);
    if (!s.parameters.empty()) std::fprintf(out, "  settings        %s\n", settingsText(s).c_str());
    std::fprintf(out, "  input           peak %-12s RMS %s\n", formatDbfs(st.inputPeak()).c_str(),
                 formatDbfs(st.inputRms()).c_str());
    std::fprintf(out, "  output          peak %-12s RMS %s\n", formatDbfs(st.outputPeak()).c_str(),
                 formatDbfs(st.outputRms()).c_str());
    if (st.hasGainReduction()) {
        std::fprintf(out, "  gain reduction  average %.1f dB, maximum %.1f dB (the plug-in's meter)\n",
                     st.averageReductionDb(), st.maximumReductionDb());
    } else {
        std::fprintf(out, "  gain reduction  %s\n",
                     st.frames() ? "not reported by this plug-in" : "none: there was no audio");
    }
    std::fprintf(out, "  speed           %.2f s of audio in %.3f s, %.0fx real time\n", st.seconds(),
                 s.elapsedSeconds, s.realTimeFactor());
    if (!s.outputPath.empty())
        std::fprintf(out, "  wrote           %s (%s)\n", s.outputPath.c_str(), s.outputFormat.c_str());
    if (!s.plotPath.empty()) std::fprintf(out, "  wrote           %s\n", s.plotPath.c_str());
    if (!s.reportPath.empty()) std::fprintf(out, "  wrote           %s\n", s.reportPath.c_str());
    if (!s.editorPath.empty())
        std::fprintf(out, "  wrote           %s (the editor as the render left it)\n", s.editorPath.c_str());
    if (!s.sourceCopyPath.empty())
        std::fprintf(out, "  wrote           %s (the loop as it went in)\n", s.sourceCopyPath.c_str());
}

std::string summaryJson(const RenderSummary& s) {
    const RenderStatistics& st = *s.statistics;
    std::ostringstream j;
    j << "{\n";
    j << "  \"plugin\": {\"path\": " << jsonString(s.plugin.path)
      << ", \"name\": " << jsonString(s.plugin.displayName())
      << ", \"vendor\": " << jsonString(s.plugin.vendor)
      << ", \"uniqueID\": " << jsonString(s.plugin.uniqueIDText())
      << ", \"vendorVersion\": " << s.plugin.vendorVersion << "},\n";
    j << "  \"input\": {\"file\": " << jsonString(s.inputName)
      << ", \"format\": " << jsonString(s.input.describe())
      << ", \"sampleRate\": " << jsonNumber(s.input.sampleRate, 0)
      << ", \"channels\": " << s.input.channels << ", \"frames\": " << st.frames()
      << ", \"seconds\": " << jsonNumber(st.seconds(), 3) << "},\n";
    j << "  \"output\": {\"file\": " << (s.outputPath.empty() ? "null" : jsonString(s.outputPath))
      << ", \"format\": " << (s.outputPath.empty() ? "null" : jsonString(s.outputFormat)) << "},\n";
    j << "  \"processing\": {\"precision\": " << s.precision << ", \"blockSize\": " << s.blockSize
      << ", \"preset\": " << (s.preset.empty() ? "null" : jsonString(s.preset)) << "},\n";
    j << "  \"parameters\": [";
    for (size_t i = 0; i < s.parameters.size(); ++i) {
        const ParameterState& p = s.parameters[i];
        j << (i ? ",\n    " : "\n    ") << "{\"index\": " << p.index << ", \"name\": " << jsonString(p.name)
          << ", \"value\": " << jsonNumber(p.value, 6) << ", \"display\": " << jsonString(p.display) << "}";
    }
    j << (s.parameters.empty() ? "],\n" : "\n  ],\n");
    j << "  \"levels\": {\"inputPeakDbfs\": " << jsonDb(st.inputPeak())
      << ", \"inputRmsDbfs\": " << jsonDb(st.inputRms())
      << ", \"outputPeakDbfs\": " << jsonDb(st.outputPeak())
      << ", \"outputRmsDbfs\": " << jsonDb(st.outputRms()) << "},\n";
    if (st.hasGainReduction()) {
        j << "  \"gainReduction\": {\"averageDb\": " << jsonNumber(st.averageReductionDb())
          << ", \"maximumDb\": " << jsonNumber(st.maximumReductionDb()) << "},\n";
    } else {
        j << "  \"gainReduction\": null,\n";
    }
    j << "  \"elapsedSeconds\": " << jsonNumber(s.elapsedSeconds, 4)
      << ",\n  \"realTimeFactor\": " << jsonNumber(s.realTimeFactor(), 1) << "\n}\n";
    return j.str();
}

}  // namespace render
