#include "fileSettingsStore.h"
#include "../settingsValue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace platform::linux_backend {

namespace {

constexpr const char* kHeader = "KVBR-SETTINGS 1";

struct StoredValue {
    std::uint32_t type = 0;
    std::vector<unsigned char> bytes;
};
using Values = std::map<std::string, StoredValue>;

std::string typeName(std::uint32_t type) {
    switch (type) {
        case kSettingsString: return "string";
        case kSettingsBinary: return "binary";
        case kSettingsDword: return "dword";
        default: return "type" + std::to_string(type);
    }
}

bool parseType(const std::string& word, std::uint32_t& type) {
    if (word == "string") type = kSettingsString;
    else if (word == "binary") type = kSettingsBinary;
    else if (word == "dword") type = kSettingsDword;
    else if (word.rfind("type", 0) == 0 && word.size() > 4 && word.size() <= 14) {
        char* end = nullptr;
        unsigned long long n = std::strtoull(word.c_str() + 4, &end, 10);
        if (*end || n > 0xFFFFFFFFull) return false;
        type = static_cast<std::uint32_t>(n);
    } else
        return false;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(const std::string& hex, std::vector<unsigned char>& out) {
    if (hex == "-") return true;  // an empty value
    if (hex.size() % 2) return false;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = hexDigit(hex[i]), lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<unsigned char>(hi * 16 + lo));
    }
    return true;
}

// Reads a key file; a missing, unreadable or damaged file gives no values.
bool loadValues(const std::string& file, Values& values) {
    values.clear();
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return false;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        size_t first = line.find(' ');
        size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
        StoredValue value;
        if (second == std::string::npos || !parseType(line.substr(0, first), value.type) ||
            !parseHex(line.substr(first + 1, second - first - 1), value.bytes)) {
            values.clear();
            return false;
        }
        values[line.substr(second + 1)] = std::move(value);
    }
    return true;
}

bool writeAll(int fd, const std::string& text) {
    const char* p = text.data();
    size_t left = text.size();
    while (left) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

// Writes the whole key to a temporary file beside it and renames it into
// place, so a reader never sees a half-written key.
long saveValues(const std::string& file, const Values& values) {
    std::ostringstream text;
    text << kHeader << '\n';
    static const char* digits = "0123456789abcdef";
    for (const auto& [name, value] : values) {
        std::string hex;
        for (unsigned char b : value.bytes) {
            hex += digits[b >> 4];
            hex += digits[b & 15];
        }
        text << typeName(value.type) << ' ' << (hex.empty() ? "-" : hex) << ' ' << name << '\n';
    }
    std::string tmpl = file + ".XXXXXX";
    std::vector<char> tmpName(tmpl.begin(), tmpl.end());
    tmpName.push_back(0);
    int fd = ::mkstemp(tmpName.data());
    if (fd < 0) return kSettingsAccessDenied;
    bool ok = writeAll(fd, text.str()) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ::chmod(tmpName.data(), 0644);
    if (!ok || ::rename(tmpName.data(), file.c_str()) != 0) {
        ::unlink(tmpName.data());
        return kSettingsAccessDenied;
    }
    return kSettingsOk;
}

bool makeFolders(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return !ec && std::filesystem::is_directory(folder, ec);
}

class FileSettingsKey : public SettingsKey {
public:
    FileSettingsKey(std::string file, bool forWriting)
        : file(std::move(file)), forWriting(forWriting) {}

    long queryValue(const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        if (!name || !size) return kSettingsInvalidParameter;
        Values values;
        loadValues(file, values);
        auto it = values.find(name);
        if (it == values.end()) return kSettingsNotFound;
        return copyValueOut(it->second.type, it->second.bytes, type, data, size);
    }

    long setValue(const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        if (!forWriting) return kSettingsAccessDenied;
        if (!name || !*name || (!data && size)) return kSettingsInvalidParameter;
        // One value a line: names must not break the line structure.
        if (std::strpbrk(name, "\r\n")) return kSettingsInvalidParameter;
        // A key file the user made unreadable is theirs to keep, not ours to replace.
        if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), R_OK) != 0)
            return kSettingsAccessDenied;
        Values values;
        loadValues(file, values);
        StoredValue& value = values[name];
        value.type = type;
        const auto* bytes = static_cast<const unsigned char*>(data);
        value.bytes.assign(bytes, bytes + size);
        return saveValues(file, values);
    }

private:
    std::string file;
    bool forWriting;
};

}  // namespace

FileSettingsStore::FileSettingsStore(std::string root) : root(std::move(root)) {}

std::string FileSettingsStore::configRoot() const {
    if (!root.empty()) return root;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config";
    return std::string();
}

std::string FileSettingsStore::fileForKey(const char* path) const {
    if (!path) return std::string();
    std::string base = configRoot();
    if (base.empty()) return std::string();
    std::string key = path;
    const std::string software = "SOFTWARE\\";
    if (key.compare(0, software.size(), software) == 0) key.erase(0, software.size());
    std::string file = base;
    std::stringstream parts(key);
    std::string part;
    int count = 0;
    while (std::getline(parts, part, '\\')) {
        if (part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos)
            return std::string();
        file += '/' + part;
        ++count;
    }
    return count ? file : std::string();
}

std::unique_ptr<SettingsKey> FileSettingsStore::openKey(const char* path, long* status) {
    std::string file = fileForKey(path);
    if (file.empty() || ::access(file.c_str(), R_OK) != 0) {
        if (status) *status = kSettingsNotFound;
        return nullptr;
    }
    if (status) *status = kSettingsOk;
    return std::make_unique<FileSettingsKey>(file, false);
}

std::unique_ptr<SettingsKey> FileSettingsStore::createKey(const char* path, long* status) {
    std::string file = fileForKey(path);
    if (file.empty()) {
        if (status) *status = kSettingsInvalidParameter;
        return nullptr;
    }
    if (!makeFolders(file.substr(0, file.rfind('/')))) {
        if (status) *status = kSettingsAccessDenied;
        return nullptr;
    }
    if (status) *status = kSettingsOk;
    return std::make_unique<FileSettingsKey>(file, true);
}

}  // namespace platform::linux_backend
