// Presets come from the plug-in's own factory table and file-format code;
// they reach the loaded instance only through setParameter, as a host's
// program change would.
#include "presetSource.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/programs/CProgram.h"
#include "core/programs/factoryPresets.h"
#include "core/programs/presetFiles.h"
#include "core/programs/wholeFile.h"
#include "toolError.h"

namespace render {

namespace {

static_assert(kKvbrParameters == kProgramParams);

ProgramValues fromProgram(CProgram& program) {
    ProgramValues p;
    char name[kProgramNameLength + 1] = {};
    program.getName(name);
    p.name = name;
    for (int i = 0; i < kKvbrParameters; ++i) p.values[i] = program.getParam(i);
    return p;
}

ProgramValues fromRecord(const presetFiles::Record& record, bool namesOnly) {
    ProgramValues p;
    p.name = record.name;
    std::copy(std::begin(record.values), std::end(record.values), p.values.begin());
    p.namesOnly = namesOnly;
    return p;
}

std::vector<ProgramValues> factoryBank() {
    std::vector<ProgramValues> bank;
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        CProgram program;
        writeFactoryPreset(slot, program);
        bank.push_back(fromProgram(program));
    }
    return bank;
}

std::vector<unsigned char> readFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) throw ToolError("no such file: " + path);
    std::vector<unsigned char> bytes;
    // Both layouts are a few kilobytes; anything far larger is not one of them.
    switch (readWholeFile(path, bytes, 1 << 20)) {
        case WholeFileRead::ok: return bytes;
        case WholeFileRead::tooLarge: throw ToolError(path + " is far too large for a preset or bank file");
        default: throw ToolError("cannot read " + path);
    }
}

void explain(presetFiles::ReadResult result, const std::string& path, bool bank) {
    using presetFiles::ReadResult;
    const std::string kind = bank ? "bank" : "preset";
    switch (result) {
        case ReadResult::ok: return;
        case ReadResult::badMagic:
            throw ToolError(path + " is not a Korvane Brassel " + kind + " file");
        case ReadResult::wrongKind:
            throw UsageError(path + (bank ? " is a preset file, not a bank file; give it with --preset-file"
                                          : " is a bank file, not a preset file; give it with --bank-file"));
        case ReadResult::tooShort:
            throw ToolError(path + " is cut short: a " + kind + " file has " +
                            std::to_string(bank ? presetFiles::kBankFileSize : presetFiles::kPresetFileSize) +
                            " bytes");
    }
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A name as typed: the exact name first, then the same letters in any case.
const ProgramValues& byName(const std::vector<ProgramValues>& bank, const std::string& name,
                            const std::string& where) {
    for (const auto& p : bank)
        if (p.name == name) return p;
    for (const auto& p : bank)
        if (lower(p.name) == lower(name)) return p;
    throw UsageError("no preset named \"" + name + "\" in " + where + " (see --list)");
}

void refuseNamesOnly(const ProgramValues& p, const std::string& path) {
    if (p.namesOnly) {
        throw ToolError(path + " is of an older layout that carries names only; it has no settings to apply");
    }
}

}  // namespace

ProgramValues defaultProgram() { return factoryBank()[1]; }

std::optional<ProgramValues> chooseProgram(const Options& options) {
    if (options.presetFile) {
        presetFiles::PresetFile file;
        explain(presetFiles::readPresetFile(readFile(*options.presetFile), file), *options.presetFile, false);
        ProgramValues p = fromRecord(file.record, file.namesOnly);
        refuseNamesOnly(p, *options.presetFile);
        return p;
    }
    if (options.bankFile) {
        presetFiles::BankFile file;
        explain(presetFiles::readBankFile(readFile(*options.bankFile), file), *options.bankFile, true);
        std::vector<ProgramValues> bank;
        for (int i = 0; i < file.recordCount; ++i) bank.push_back(fromRecord(file.records[i], file.namesOnly));
        const ProgramValues chosen = options.preset ? byName(bank, *options.preset, *options.bankFile)
                                                    : bank.at(static_cast<size_t>(options.slot.value_or(0)));
        refuseNamesOnly(chosen, *options.bankFile);
        return chosen;
    }
    if (options.preset) return byName(factoryBank(), *options.preset, "the factory presets");
    if (options.slot) return factoryBank().at(static_cast<size_t>(*options.slot));
    return std::nullopt;
}

void applyProgram(Effect& effect, const ProgramValues& program) {
    for (int i = 0; i < kKvbrParameters && i < effect.numParams(); ++i) effect.setParameter(i, program.values[i]);
}

void printFactoryPresets(Effect& effect, std::FILE* out) {
    std::array<float, kKvbrParameters> saved{};
    for (int i = 0; i < kKvbrParameters; ++i) saved[i] = effect.getParameter(i);
    std::vector<int> named;
    for (int i = 0; i < kKvbrParameters; ++i)
        if (!effect.parameterName(i).empty()) named.push_back(i);

    std::fprintf(out, "\n  Factory presets (--preset NAME or --slot N)\n");
    const std::vector<ProgramValues> bank = factoryBank();
    for (size_t slot = 0; slot < bank.size(); ++slot) {
        applyProgram(effect, bank[slot]);
        std::fprintf(out, "  %3zu  %-22s", slot, bank[slot].name.c_str());
        for (int i : named) {
            const std::string shown = effect.parameterDisplay(i);
            // Process and Ratio speak for themselves; the numbers need their names.
            if (i == 0 || i == 2)
                std::fprintf(out, " %-6s", shown.c_str());
            else
                std::fprintf(out, "  %s %-5s", effect.parameterName(i).c_str(), shown.c_str());
        }
        std::fprintf(out, "\n");
    }
    ProgramValues restore;
    restore.values = saved;
    applyProgram(effect, restore);
}

}  // namespace render
