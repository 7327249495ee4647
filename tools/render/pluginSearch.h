// Where kvbr-render finds Korvane Brassel when no --plugin is given: beside
// itself (the build folder), then where VST 2.x hosts on Linux look.
#pragma once

#include <string>
#include <vector>

namespace render {

// The folders searched, in order: toolFolder, each entry of vstPath (a
// colon-separated list), home/.vst, lib/vst beside toolFolder's parent (the
// prefix the tool was installed into), /usr/local/lib/vst, /usr/lib/vst.
// Empty entries, and home when it is empty, are left out; the two system
// folders are not named twice.
std::vector<std::string> pluginSearchFolders(const std::string& toolFolder, const std::string& vstPath,
                                             const std::string& home);

// The path of korvane-brassel.so in the first folder that holds it; throws
// ToolError naming every folder tried when none does.
std::string findPluginIn(const std::vector<std::string>& folders);

// The same for this process: its own folder, its $VST_PATH and its $HOME.
std::string findDefaultPlugin();

}  // namespace render
