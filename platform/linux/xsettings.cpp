#include "xsettings.h"

#include <cstdint>

namespace platform::linux_backend {

namespace {

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size, bool bigEndian)
        : data(data), size(size), bigEndian(bigEndian) {}
    bool skip(std::size_t n) {
        if (n > size - at) return false;
        at += n;
        return true;
    }
    bool card8(std::uint8_t& out) {
        if (at >= size) return false;
        out = data[at++];
        return true;
    }
    bool card16(std::uint16_t& out) {
        if (size - at < 2) return false;
        const unsigned b0 = data[at], b1 = data[at + 1];
        out = static_cast<std::uint16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
        at += 2;
        return true;
    }
    bool card32(std::uint32_t& out) {
        if (size - at < 4) return false;
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t b = data[at + static_cast<std::size_t>(i)];
            v |= bigEndian ? b << (8 * (3 - i)) : b << (8 * i);
        }
        out = v;
        at += 4;
        return true;
    }
    const unsigned char* here() const { return data + at; }

private:
    const unsigned char* data;
    std::size_t size;
    bool bigEndian;
    std::size_t at = 0;
};

constexpr std::size_t padded(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

std::optional<int> findXSettingsInteger(const unsigned char* data, std::size_t size,
                                        std::string_view name) {
    if (!data || size < 12) return std::nullopt;
    // Byte 0 is the byte order (0 least significant byte first, 1 most).
    if (data[0] > 1) return std::nullopt;
    Reader in(data, size, data[0] == 1);
    std::uint32_t serial = 0, count = 0;
    if (!in.skip(4) || !in.card32(serial) || !in.card32(count)) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint8_t type = 0, pad = 0;
        std::uint16_t nameLength = 0;
        if (!in.card8(type) || !in.card8(pad) || !in.card16(nameLength)) return std::nullopt;
        const unsigned char* nameBytes = in.here();
        if (!in.skip(padded(nameLength))) return std::nullopt;
        std::uint32_t changed = 0;
        if (!in.card32(changed)) return std::nullopt;
        const std::string_view settingName(reinterpret_cast<const char*>(nameBytes), nameLength);
        switch (type) {
            case 0: {  // integer
                std::uint32_t value = 0;
                if (!in.card32(value)) return std::nullopt;
                if (settingName == name) return static_cast<int>(static_cast<std::int32_t>(value));
                break;
            }
            case 1: {  // string
                std::uint32_t length = 0;
                if (!in.card32(length) || !in.skip(padded(length))) return std::nullopt;
                break;
            }
            case 2:  // colour: four 16-bit channels
                if (!in.skip(8)) return std::nullopt;
                break;
            default:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace platform::linux_backend
