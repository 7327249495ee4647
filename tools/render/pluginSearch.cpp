#include "pluginSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/toolEnvironment.h"
#include "toolError.h"

namespace fs = std::filesystem;

namespace render {

namespace {

constexpr const char* kPluginFile = "korvane-brassel.so";

}  // namespace

std::vector<std::string> pluginSearchFolders(const std::string& toolFolder, const std::string& vstPath,
                                             const std::string& home) {
    std::vector<std::string> folders;
    if (!toolFolder.empty()) folders.push_back(toolFolder);
    // Unlike PATH, an empty entry does not mean the current folder: a stray
    // colon must not make the tool load whatever lies where it was started.
    for (size_t start = 0; start <= vstPath.size();) {
        size_t end = vstPath.find(':', start);
        if (end == std::string::npos) end = vstPath.size();
        if (end > start) folders.push_back(vstPath.substr(start, end - start));
        start = end + 1;
    }
    if (!home.empty()) folders.push_back((fs::path(home) / ".vst").string());
    // A tool installed under a prefix (bin/) takes the plug-in installed with it (lib/vst/).
    if (!toolFolder.empty())
        folders.push_back((fs::path(toolFolder).lexically_normal().parent_path() / "lib" / "vst").string());
    for (const char* system : {"/usr/local/lib/vst", "/usr/lib/vst"})
        if (std::find(folders.begin(), folders.end(), system) == folders.end()) folders.push_back(system);
    return folders;
}

std::string findPluginIn(const std::vector<std::string>& folders) {
    std::string tried;
    for (const std::string& folder : folders) {
        const fs::path candidate = fs::path(folder) / kPluginFile;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
        tried += (tried.empty() ? "" : ", ") + folder;
    }
    throw ToolError(std::string("no ") + kPluginFile + " in " + tried + "; give --plugin PATH");
}

std::string findDefaultPlugin() {
    return findPluginIn(pluginSearchFolders(platform::executableFolder(),
                                            platform::environmentVariable("VST_PATH"),
                                            platform::environmentVariable("HOME")));
}

}  // namespace render
