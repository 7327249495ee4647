// Outputs that appear only when they are complete: each is written under a
// temporary name in its own folder and renamed over the final name at the end,
// so a failed or interrupted run leaves no partial file behind.
#pragma once

#include <optional>
#include <string>

namespace render {

class StagedOutput {
public:
    explicit StagedOutput(std::string finalPath);
    ~StagedOutput();  // removes the temporary file unless committed
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    const std::string& path() const { return temporary; }  // where to write now
    const std::string& finalPath() const { return target; }
    // Renames the finished file into place; throws ToolError when it cannot.
    void commit();

private:
    std::string target;
    std::string temporary;
    bool committed = false;
};

// Checks an output path before any work is done: its folder must exist, it
// must not be the input, nor an existing file unless force is given. `what`
// names the output in messages ("output", "plot").
void checkOutputPath(const std::string& path, const std::optional<std::string>& input, bool force,
                     const std::string& what,
                     const std::string& forceHint = "add --force to replace it");

}  // namespace render
