#include "stagedOutput.h"

#include <filesystem>
#include <random>

#include "toolError.h"

namespace fs = std::filesystem;

namespace render {

namespace {

std::string temporaryNameBeside(const fs::path& target) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> hex(0, 0xFFFFFF);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), "%06x", hex(random));
        // Hidden and clearly unfinished, in the same folder so the rename cannot cross devices.
        std::string name(1, '.');
        name += target.filename().string();
        name += ".partial-";
        name += suffix;
        const fs::path candidate = folder / name;
        std::error_code ec;
        if (!fs::exists(candidate, ec)) return candidate.string();
    }
    throw ToolError("cannot find a free temporary name beside " + target.string());
}

}  // namespace

StagedOutput::StagedOutput(std::string finalPath)
    : target(std::move(finalPath)), temporary(temporaryNameBeside(target)) {}

StagedOutput::~StagedOutput() {
    if (committed) return;
    std::error_code ec;
    fs::remove(temporary, ec);
}

void StagedOutput::commit() {
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) throw ToolError("cannot move the finished file to " + target + ": " + ec.message());
    committed = true;
}

void checkOutputPath(const std::string& path, const std::optional<std::string>& input, bool force,
                     const std::string& what, const std::string& forceHint) {
    std::error_code ec;
    const fs::path p(path);
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        throw UsageError("the folder of the " + what + " " + path + " does not exist");
    if (fs::is_directory(p, ec)) throw UsageError("the " + what + " " + path + " is a folder");
    if (input && fs::exists(p, ec) && fs::equivalent(p, fs::path(*input), ec))
        throw UsageError("the " + what + " " + path + " is the input file; it is never overwritten");
    if (!force && fs::exists(p, ec))
        throw UsageError("the " + what + " " + path + " exists; " + forceHint);
}

}  // namespace render
