// Build step: writes the bundle's Turtle files into the folder given.
#include <cstdio>
#include <fstream>
#include <string>

#include "ttlWriter.h"

namespace {

bool write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "kvbr-lv2-ttl: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kvbr-lv2-ttl BUNDLE_DIR DSP_BINARY_NAME UI_BINARY_NAME\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = write(dir + "/manifest.ttl", lv2ttl::manifest(argv[2], argv[3])) &&
                    write(dir + "/korvane-brassel.ttl", lv2ttl::pluginDescription()) &&
                    write(dir + "/presets.ttl", lv2ttl::presets());
    return ok ? 0 : 1;
}
