#include "wholeFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

WholeFileRead readWholeFile(const std::string& path, std::vector<unsigned char>& bytes,
                            std::size_t limit) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return WholeFileRead::cannotRead;
    WholeFileRead result = WholeFileRead::ok;
    unsigned char chunk[4096];
    for (;;) {
        const std::size_t n = std::fread(chunk, 1, sizeof(chunk), file);
        if (bytes.size() + n > limit) {
            result = WholeFileRead::tooLarge;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof(chunk)) {
            // A folder opens on some systems and then fails to read.
            if (std::ferror(file)) result = WholeFileRead::cannotRead;
            break;
        }
    }
    std::fclose(file);
    if (result != WholeFileRead::ok) bytes.clear();
    return result;
}

bool replaceFile(const std::string& path, std::span<const unsigned char> bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Replacing by rename would get around a write-protected target; refuse as a
    // direct write would. Appending nothing leaves its contents as they are.
    if (fs::exists(fs::path(path), ec)) {
        std::FILE* probe = std::fopen(path.c_str(), "ab");
        if (!probe) return false;
        std::fclose(probe);
    }
    std::string temporary;
    std::FILE* file = nullptr;
    // "x": create a fresh file only, never reuse a leftover of another save.
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        temporary = path + ".saving" + std::to_string(attempt);
        file = std::fopen(temporary.c_str(), "wbx");
        if (!file && errno != EEXIST) return false;
    }
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) {
        fs::rename(fs::path(temporary), fs::path(path), ec);
        ok = !ec;
    }
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
