#include "platform/toolEnvironment.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace platform {

std::string executableFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().string();
}

bool isTerminal(std::FILE* stream) { return stream && isatty(fileno(stream)) == 1; }

int terminalColumns(std::FILE* stream) {
    winsize size{};
    if (stream && ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

std::string environmentVariable(const char* name) {
    const char* value = name ? std::getenv(name) : nullptr;
    return value ? std::string(value) : std::string();
}

}  // namespace platform
