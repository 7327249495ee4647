// kvbr-measure: what a mixing engineer measures of the compressor's sound,
// for the built-in compressor and, with --before, a VST 2.x build of it
// measured in the same run.
//
//   kvbr-measure aliasing [--before PLUGIN]   worst alias and DC of the valve
//   kvbr-measure clicks [--before PLUGIN]     clicks at setting changes
//   kvbr-measure pictures DIR [--before PLUGIN]
//   kvbr-measure check                        the hardest cases against limits (a test)
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <optional>
#include <string>

#include "aliasing.h"
#include "charts.h"
#include "clicks.h"
#include "toolError.h"

using namespace measure;

namespace {

const char* const kOversampling[] = {"Off", "2x", "4x"};
const platform::Colour kBlue{0.36, 0.64, 1.0}, kAmber{1.0, 0.72, 0.30};

void aliasingReport(const std::optional<Subject>& before) {
    const Subject after{"built-in", std::nullopt};
    std::printf("| Rate | Sine | Level | Compression | Clear |%s Off | 2x | 4x |\n|---|---:|---:|---:|---:|%s---:|---:|---:|\n",
                before ? " Before |" : "", before ? "---:|" : "");
    std::map<std::string, double> worst, audible, dc;
    auto note = [](std::map<std::string, double>& m, const std::string& key, double v) {
        if (!m.count(key) || v > m[key]) m[key] = v;
    };
    for (double rate : {44100.0, 48000.0})
        for (double frequency : {5000.0, 9000.0, 13000.0, 17000.0})
            for (double dbfs : {-6.0, -1.0})
                for (double compression : {10.0, 8.0}) {
                    std::printf("| %g kHz | %g kHz | %g dBFS | %g |", rate / 1000, frequency / 1000, dbfs, compression);
                    auto cell = [&](const Subject& s, int oversampling, const std::string& key, int process = 2) {
                        const AliasResult r =
                            measureAliasing(s, {rate, frequency, dbfs, compression, oversampling, process});
                        std::printf(" %.1f dB (%.0f Hz) |", r.worstAlias, r.worstAliasHz);
                        note(worst, key, r.worstAlias);
                        note(audible, key, r.worstAudible);
                        note(dc, key, r.dc);
                    };
                    cell(after, 0, "Clear", 1);
                    if (before) cell(*before, 0, "before");
                    for (int os = 0; os < 3; ++os) cell(after, os, kOversampling[os]);
                    std::printf("\n");
                    std::fflush(stdout);
                }
    std::printf("\nWorst alias under the fundamental (anywhere; up to 20 kHz), and the largest DC offset:\n");
    for (const auto& [key, value] : worst)
        std::printf("- %s: %.1f dB; %.1f dB; DC %.1f dBFS\n", key.c_str(), value, audible[key], dc[key]);
}

// About 12 dB of gain reduction on the sine at the default 3:1.
double compressionFor12dB() { return 7.5; }

std::vector<ClickCase> clickCases(bool withOversampling) {
    const double c = compressionFor12dB();
    std::vector<ClickCase> cases = {
        {"Clear -> Off", {{"Process", 1}, {"Compression", c}}, {{"Process", 0}}},
        {"Valve -> Off", {{"Process", 2}, {"Compression", c}}, {{"Process", 0}}},
        {"Off -> Valve", {{"Process", 0}, {"Compression", c}}, {{"Process", 2}}},
        {"Clear -> Valve", {{"Process", 1}, {"Compression", c}}, {{"Process", 2}}},
        {"Clear -> Off, light reduction", {{"Process", 1}, {"Compression", 5}}, {{"Process", 0}}},
        {"Ratio 1.2:1 -> 10:1, Compression 8", {{"Process", 1}, {"Ratio", 0}, {"Compression", 8}}, {{"Ratio", 6}}},
        {"Ratio 10:1 -> 1.2:1, Compression 8", {{"Process", 1}, {"Ratio", 6}, {"Compression", 8}}, {{"Ratio", 0}}},
        {"Ratio 3:1 -> 4:1", {{"Process", 1}, {"Compression", c}}, {{"Ratio", 4}}},
        {"Compression 0 -> 10", {{"Process", 1}, {"Compression", 0}}, {{"Compression", 10}}},
        {"Time 0 -> 10", {{"Process", 1}, {"Time", 0}, {"Compression", c}}, {{"Time", 10}}},
    };
    if (withOversampling) {
        cases.push_back({"Valve, Oversampling Off -> 2x", {{"Process", 2}, {"Compression", c}}, {{"Oversampling", 1}}});
        cases.push_back({"Valve, Oversampling 2x -> 4x",
                         {{"Process", 2}, {"Compression", c}, {"Oversampling", 1}}, {{"Oversampling", 2}}});
        cases.push_back({"Valve, Oversampling 4x -> Off",
                         {{"Process", 2}, {"Compression", c}, {"Oversampling", 2}}, {{"Oversampling", 0}}});
        // The instance's settings the VST 2.x plug-in has not: the Mix glides,
        // the Sidechain Filter changes only what the detector hears.
        cases.push_back({"Clear, Mix 100% -> 0%", {{"Process", 1}, {"Compression", c}}, {{"Mix", 0}}});
        cases.push_back({"Clear, Mix 0% -> 100%", {{"Process", 1}, {"Compression", c}, {"Mix", 0}}, {{"Mix", 100}}});
        cases.push_back({"Valve 4x, Mix 100% -> 50%",
                         {{"Process", 2}, {"Compression", c}, {"Oversampling", 2}}, {{"Mix", 50}}});
        cases.push_back({"Clear, Sidechain Filter Off -> 250 Hz",
                         {{"Process", 1}, {"Compression", c}}, {{"Sidechain Filter", 4}}});
    }
    return cases;
}

void clicksReport(const std::optional<Subject>& before) {
    const Subject after{"built-in", std::nullopt};
    std::printf("| Change | Reduction |%s After |\n|---|---:|%s---:|\n", before ? " Before |" : "", before ? "---:|" : "");
    for (const ClickCase& c : clickCases(true)) {
        const ClickResult now = measureClick(after, c);
        std::printf("| %s | %.1f dB |", c.name, now.reduction);
        // The VST 2.x plug-in of the build before has none of the instance's settings.
        const bool settingsOnly = std::strstr(c.name, "Oversampling") || std::strstr(c.name, "Mix") ||
                                  std::strstr(c.name, "Sidechain");
        if (before) {
            if (settingsOnly)
                std::printf(" |");
            else
                std::printf(" %.1f dBFS |", measureClick(*before, c).peak);
        }
        std::printf(" %.1f dBFS |\n", now.peak);
        std::fflush(stdout);
    }
}

Curve spectrumCurve(const AliasResult& r, double rate, const std::string& label, platform::Colour colour) {
    Curve curve{label, colour, {}, {}};
    double top = 0.0;
    for (double a : r.spectrum) top = std::max(top, a);
    for (size_t k = 0; k < r.spectrum.size(); ++k) {
        curve.x.push_back(k * rate / kAnalysisSize);
        curve.y.push_back(decibels(r.spectrum[k]) - decibels(top));
    }
    return curve;
}

Curve clickCurve(const ClickResult& r, const std::string& label, platform::Colour colour) {
    Curve curve{label, colour, {}, {}};
    for (size_t i = 0; i < r.highPassed.size(); ++i) {
        curve.x.push_back(i / kClickRate - 0.05);
        curve.y.push_back(decibels(r.highPassed[i]));
    }
    return curve;
}

void pictures(const std::string& folder, const std::optional<Subject>& before) {
    const Subject after{"built-in", std::nullopt};
    const double rate = 44100.0;
    Chart spectra{"The valve at 13 kHz, oversampling off and 4x",
                  "A 13 kHz sine at -1 dBFS, Process Valve, Compression 10, 44.1 kHz: output spectrum "
                  "against the fundamental",
                  "kHz", "dB", 0, rate / 2, 2000, 0, -160, 20, 1000, {}};
    for (int os : {0, 2}) {
        const AliasResult r = measureAliasing(after, {rate, 13000, -1, 10, os});
        char title[96];
        std::snprintf(title, sizeof title, "Oversampling %s: worst alias %.1f dB", kOversampling[os], r.worstAlias);
        spectra.panels.push_back({title, {spectrumCurve(r, rate, kOversampling[os], os ? kAmber : kBlue)}});
    }
    drawChart(spectra, folder + "/valve-aliasing.png");

    Chart bursts{"Clicks at a change of setting",
                 "A 100 Hz sine at -12 dBFS, the change at 0 ms on a peak: the output above 2 kHz",
                 "ms", "dBFS", -0.05, 0.1, 0.025, 0, -140, 20, 0.001, {}};
    const std::vector<ClickCase> cases = clickCases(false);
    const ClickCase& valveOff = cases[1];
    const ClickCase& ratio = cases[5];
    auto panelOf = [&](const Subject& s, const std::string& title) {
        const ClickResult a = measureClick(s, valveOff), b = measureClick(s, ratio);
        char first[64], second[64];
        std::snprintf(first, sizeof first, "Valve to Off (peak %.0f dBFS)", a.peak);
        std::snprintf(second, sizeof second, "Ratio 1.2:1 to 10:1 (peak %.0f dBFS)", b.peak);
        bursts.panels.push_back({title, {clickCurve(a, first, kBlue), clickCurve(b, second, kAmber)}});
    };
    if (before) panelOf(*before, "Before: the switch is instant");
    panelOf(after, "After: a 15 ms crossfade");
    drawChart(bursts, folder + "/setting-change-clicks.png");
}

// The cases that fail first when the oversampling or the crossfades go wrong,
// against limits a little under what they measure: exits 1 when one is missed.
int check() {
    const Subject builtIn{"built-in", std::nullopt};
    bool ok = true;
    auto expect = [&](bool good, const std::string& what, double value, double limit) {
        std::printf("%s %s: %.1f (limit %.1f)\n", good ? "ok  " : "FAIL", what.c_str(), value, limit);
        ok = ok && good;
    };
    // At 48 kHz a 5 kHz sine's fifth harmonic lies just above Nyquist, where
    // only the outer filter's slope stands between it and the audible band.
    const struct { double rate, frequency; int os; double limit; } aliasCases[] = {
        {44100.0, 13000.0, 1, -60.0}, {44100.0, 13000.0, 2, -95.0}, {44100.0, 17000.0, 1, -60.0},
        {44100.0, 17000.0, 2, -95.0}, {48000.0, 5000.0, 2, -95.0},  {48000.0, 17000.0, 2, -90.0}};
    for (const auto& [rate, frequency, os, limit] : aliasCases) {
        const AliasResult r = measureAliasing(builtIn, {rate, frequency, -1.0, 10.0, os});
        const std::string what = std::to_string(static_cast<int>(frequency)) + " Hz at " +
                                 std::to_string(static_cast<int>(rate)) + " Hz " + kOversampling[os];
        expect(r.worstAlias <= limit, what + ", worst alias dB", r.worstAlias, limit);
        expect(r.dc <= -100.0, what + ", DC dBFS", r.dc, -100.0);
    }
    const std::vector<ClickCase> cases = clickCases(true);
    for (const ClickCase& c : cases) {
        const ClickResult r = measureClick(builtIn, c);
        // The gliding controls are as they always were; every switch crossfades.
        const double limit = std::strstr(c.name, "Compression 0") || std::strstr(c.name, "Time") ? -75.0 : -90.0;
        expect(r.peak <= limit, std::string(c.name) + ", dBFS above 2 kHz", r.peak, limit);
    }
    return ok ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: kvbr-measure aliasing|clicks [--before PLUGIN]\n"
                 "       kvbr-measure pictures DIR [--before PLUGIN]\n"
                 "       kvbr-measure check\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "check") {
        if (argc != 2) return usage();
        try {
            return check();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kvbr-measure: %s\n", e.what());
            return 1;
        }
    }
    int next = 2;
    std::string folder;
    if (command == "pictures") {
        if (argc < 3) return usage();
        folder = argv[next++];
    }
    std::optional<Subject> before;
    if (next < argc) {
        if (std::strcmp(argv[next], "--before") != 0 || next + 2 != argc) return usage();
        before = Subject{"before", std::string(argv[next + 1])};
    }
    try {
        if (command == "aliasing")
            aliasingReport(before);
        else if (command == "clicks")
            clicksReport(before);
        else if (command == "pictures")
            pictures(folder, before);
        else
            return usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvbr-measure: %s\n", e.what());
        return 1;
    }
    return 0;
}
