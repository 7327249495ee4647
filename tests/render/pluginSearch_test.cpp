// Where the renderer finds Korvane Brassel without --plugin.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pluginSearch.h"
#include "renderTestSupport.h"
#include "toolError.h"

namespace fs = std::filesystem;
using namespace render;
using Folders = std::vector<std::string>;

TEST(PluginSearch, FoldersInOrderWithoutEmptyEntries) {
    EXPECT_EQ(pluginSearchFolders("/opt/kv/bin", "/a::/b:", "/home/u"),
              (Folders{"/opt/kv/bin", "/a", "/b", "/home/u/.vst", "/opt/kv/lib/vst", "/usr/local/lib/vst",
                       "/usr/lib/vst"}));
    EXPECT_EQ(pluginSearchFolders("/opt/kv/bin", ":", ""),
              (Folders{"/opt/kv/bin", "/opt/kv/lib/vst", "/usr/local/lib/vst", "/usr/lib/vst"}))
        << "an empty VST_PATH entry is not the current folder, and no HOME means no ~/.vst";
    EXPECT_EQ(pluginSearchFolders("/usr/local/bin", "", "/h"),
              (Folders{"/usr/local/bin", "/h/.vst", "/usr/local/lib/vst", "/usr/lib/vst"}))
        << "the prefix's own folder is a system folder: named once";
    EXPECT_EQ(pluginSearchFolders("", "", "/h").front(), "/h/.vst");
}

TEST(PluginSearch, TakesTheFirstFolderHoldingThePlugin) {
    ScratchFolder scratch;
    for (const char* folder : {"empty", "dir/korvane-brassel.so", "second", "third"})
        fs::create_directories(scratch.file(folder));
    for (const char* file : {"second/korvane-brassel.so", "third/korvane-brassel.so"})
        std::ofstream(scratch.file(file)) << "x";
    const Folders folders = {scratch.file("missing"), scratch.file("empty"), scratch.file("dir"),
                             scratch.file("second"), scratch.file("third")};
    EXPECT_EQ(findPluginIn(folders), scratch.file("second/korvane-brassel.so"))
        << "missing folders and a folder named like the plug-in are passed over";

    try {
        findPluginIn({scratch.file("missing"), scratch.file("empty")});
        FAIL() << "no plug-in anywhere must be an error";
    } catch (const ToolError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(scratch.file("missing")), std::string::npos) << message;
        EXPECT_NE(message.find(scratch.file("empty")), std::string::npos) << message;
        EXPECT_NE(message.find("--plugin"), std::string::npos) << message;
    }
}
