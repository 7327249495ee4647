#include "pluginState.h"

#include <cstdint>
#include <cstring>

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

}  // namespace

Block save(ProgramBank& bank) {
    Block block{};
    int selected = 0;
    const auto programs = bank.saveBank(&selected);
    std::memcpy(block.data(), kMagic, sizeof kMagic);
    putInt(block.data() + 4, kVersion);
    putInt(block.data() + 8, selected);
    std::memcpy(block.data() + kHeaderSize, programs.data(), programs.size());
    return block;
}

Restore restore(ProgramBank& bank, std::span<const unsigned char> bytes) {
    // A block never grows within a version: any other length is damage or a stranger's.
    if (bytes.size() < kHeaderSize) return Restore::wrongSize;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return Restore::notOurs;
    const std::int32_t version = intAt(bytes.data() + 4);
    if (version > kVersion) return Restore::futureVersion;
    if (version < 1) return Restore::notOurs;
    if (bytes.size() != kSize) return Restore::wrongSize;
    switch (bank.restoreBank(bytes.subspan(kHeaderSize), intAt(bytes.data() + 8))) {
        case ProgramBank::Restore::ok: return Restore::ok;
        case ProgramBank::Restore::damagedBank: return Restore::damagedBank;
        case ProgramBank::Restore::badSelection: return Restore::badSelection;
    }
    return Restore::damagedBank;
}

}  // namespace pluginState
