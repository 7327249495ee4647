#include "pluginState.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/controls.h"
#include "core/programs/ProgramBank.h"

namespace pluginState {

namespace {

void putInt(unsigned char* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

std::int32_t intAt(const unsigned char* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= std::uint32_t(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

float floatAt(const unsigned char* at) {
    const auto bits = static_cast<std::uint32_t>(intAt(at));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

std::vector<unsigned char> save(ProgramBank& bank, const Parameters* settings) {
    std::vector<unsigned char> block(settings ? kSize : kVersion1Size);
    int selected = 0;
    const auto programs = bank.saveBank(&selected);
    std::memcpy(block.data(), kMagic, sizeof kMagic);
    putInt(block.data() + 4, settings ? kVersion : 1);
    putInt(block.data() + 8, selected);
    std::memcpy(block.data() + kHeaderSize, programs.data(), programs.size());
    if (settings) {
        putInt(block.data() + kVersion1Size, kSettingCount);
        for (int k = 0; k < kSettingCount; ++k) {
            const float value = settings->get(kProgramParameters + k);
            std::uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            putInt(block.data() + kVersion1Size + 4 + 4 * k, static_cast<std::int32_t>(bits));
        }
    }
    return block;
}

std::size_t blockLength(std::span<const unsigned char> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return 0;
    const std::int32_t version = intAt(bytes.data() + 4);
    if (version == 1) return kVersion1Size;
    if (version < 2 || version > kVersion || bytes.size() < kVersion1Size + 4) return 0;
    const std::int32_t count = intAt(bytes.data() + kVersion1Size);
    if (count < 0 || count > kMostSettings) return 0;
    return kVersion1Size + 4 + 4 * static_cast<std::size_t>(count);
}

Restore restore(ProgramBank& bank, Parameters* settings, std::span<const unsigned char> bytes) {
    // A block never grows within a version: any other length is damage or a stranger's.
    if (bytes.size() < kHeaderSize) return Restore::wrongSize;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return Restore::notOurs;
    const std::int32_t version = intAt(bytes.data() + 4);
    if (version > kVersion) return Restore::futureVersion;
    if (version < 1) return Restore::notOurs;
    if (bytes.size() != blockLength(bytes)) return Restore::wrongSize;
    switch (bank.restoreBank(bytes.subspan(kHeaderSize, presetFiles::kBankFileSize),
                             intAt(bytes.data() + 8))) {
        case ProgramBank::Restore::ok: break;
        case ProgramBank::Restore::damagedBank: return Restore::damagedBank;
        case ProgramBank::Restore::badSelection: return Restore::badSelection;
    }
    if (!settings) return Restore::ok;
    const int count = version == 1 ? 0 : intAt(bytes.data() + kVersion1Size);
    for (int k = 0; k < kSettingCount; ++k) {
        // A setting the block does not carry takes its default.
        const int index = kProgramParameters + k;
        const controls::Control* control = controls::byParameter(index);
        const float fallback =
            control ? controls::normalisedOfStep(*control, controls::stepOf(*control, control->defaultValue))
                    : 0.0f;
        const float value = k < count ? floatAt(bytes.data() + kVersion1Size + 4 + 4 * k) : fallback;
        settings->set(index, std::isfinite(value) ? value : fallback);
    }
    return Restore::ok;
}

}  // namespace pluginState
