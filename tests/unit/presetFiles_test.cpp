// The preset and bank file layouts, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/programs/presetFiles.h"

using namespace presetFiles;

namespace {

Record makeRecord(const char* name, float first) {
    Record r;
    std::memcpy(r.name, name, std::min<std::size_t>(std::strlen(name), 24));
    for (int k = 0; k < 12; ++k) r.values[k] = first + 0.01f * static_cast<float>(k);
    return r;
}

std::vector<unsigned char> bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

template <std::size_t N>
std::vector<unsigned char> toVector(const std::array<unsigned char, N>& a) {
    return std::vector<unsigned char>(a.begin(), a.end());
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

}  // namespace

TEST(PresetFileLayout, SeventySevenBytes) {
    Record r = makeRecord("Kick", 1.0f);
    r.values[1] = 0.16666667f;
    const auto file = writePresetFile(r);
    ASSERT_EQ(file.size(), 77u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "rBvK!");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[5]), 4), "Kick");
    for (int i = 9; i < 29; ++i) EXPECT_EQ(file[i], 0) << i;
    // 1.0f little-endian at offset 29; 0.16666667f (0x3E2AAAAB) after it.
    const unsigned char one[4] = {0x00, 0x00, 0x80, 0x3F}, sixth[4] = {0xAB, 0xAA, 0x2A, 0x3E};
    EXPECT_EQ(std::memcmp(&file[29], one, 4), 0);
    EXPECT_EQ(std::memcmp(&file[33], sixth, 4), 0);

    // A 24-character name fills its field with no zero.
    const auto full = writePresetFile(makeRecord("ABCDEFGHIJKLMNOPQRSTUVWX", 0.0f));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&full[5]), 24),
              "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(full[29], 0x00);
}

TEST(PresetFileLayout, RoundTripIsBitForBit) {
    Record r = makeRecord("ABCDEFGHIJKLMNOPQRSTUVWX", 0.3f);
    r.values[0] = -0.0f;
    r.values[1] = 1.5f;  // readers carry values as stored; the bank clamps them
    r.values[2] = std::nextafter(0.0f, 1.0f);
    r.values[3] = NAN;
    PresetFile parsed;
    ASSERT_EQ(readPresetFile(toVector(writePresetFile(r)), parsed), ReadResult::ok);
    EXPECT_FALSE(parsed.namesOnly);
    EXPECT_STREQ(parsed.record.name, "ABCDEFGHIJKLMNOPQRSTUVWX");
    for (int k = 0; k < 12; ++k) EXPECT_TRUE(sameBits(parsed.record.values[k], r.values[k])) << k;
}

TEST(BankFileLayout, TwoThousandThreeHundredEightyOneBytesAndBack) {
    std::array<Record, 33> records;
    for (int j = 0; j < 33; ++j)
        records[j] =
            makeRecord(("Slot " + std::to_string(j)).c_str(), 0.02f * static_cast<float>(j));
    const auto file = writeBankFile(records);
    ASSERT_EQ(file.size(), 2381u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "rBvK7");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[5 + 72 * 32]), 7), "Slot 32");

    BankFile parsed;
    ASSERT_EQ(readBankFile(toVector(file), parsed), ReadResult::ok);
    EXPECT_EQ(parsed.recordCount, 33);
    EXPECT_FALSE(parsed.namesOnly);
    for (int j = 0; j < 33; ++j) {
        EXPECT_STREQ(parsed.records[j].name, records[j].name);
        for (int k = 0; k < 12; ++k)
            EXPECT_TRUE(sameBits(parsed.records[j].values[k], records[j].values[k]))
                << j << "/" << k;
    }
}

TEST(FileReaders, ReversedMagicAndTrailingBytes) {
    auto preset = toVector(writePresetFile(makeRecord("Rev", 0.5f)));
    std::memcpy(preset.data(), "KvBr", 4);
    PresetFile p;
    EXPECT_EQ(readPresetFile(preset, p), ReadResult::ok);
    EXPECT_STREQ(p.record.name, "Rev");
    preset.push_back(0xEE);  // 78 bytes: the layout is read, the rest ignored
    EXPECT_EQ(readPresetFile(preset, p), ReadResult::ok);
    EXPECT_EQ(p.record.values[0], 0.5f);

    std::array<Record, 33> records{};
    auto bank = toVector(writeBankFile(records));
    std::memcpy(bank.data(), "KvBr", 4);
    BankFile b;
    EXPECT_EQ(readBankFile(bank, b), ReadResult::ok);
}

TEST(FileReaders, NameStopsAtItsZero) {
    auto preset = toVector(writePresetFile(makeRecord("ab", 0.5f)));
    preset[8] = 'x';  // bytes after the zero are not part of the name
    PresetFile p;
    ASSERT_EQ(readPresetFile(preset, p), ReadResult::ok);
    EXPECT_STREQ(p.record.name, "ab");
    for (int i = 2; i < 25; ++i) EXPECT_EQ(p.record.name[i], 0);
}

TEST(FileReaders, ChecksComeInOrderMagicKindLength) {
    const auto preset = toVector(writePresetFile(makeRecord("p", 0.5f)));
    const auto bank = toVector(writeBankFile(std::array<Record, 33>{}));
    PresetFile p;
    BankFile b;
    EXPECT_EQ(readPresetFile(bank, p), ReadResult::wrongKind);
    EXPECT_EQ(readBankFile(preset, b), ReadResult::wrongKind);

    auto badMagic = bank;
    badMagic[3] = 'k';  // "rBvk"
    EXPECT_EQ(readBankFile(badMagic, b), ReadResult::badMagic) << "magic before kind";
    badMagic[4] = '!';
    EXPECT_EQ(readPresetFile(badMagic, p), ReadResult::badMagic);

    // A short file with the wrong kind still says which kind it is not.
    EXPECT_EQ(readPresetFile(bytes("rBvK7"), p), ReadResult::wrongKind);
    EXPECT_EQ(readPresetFile(bytes("xyz"), p), ReadResult::tooShort);
    EXPECT_EQ(readPresetFile(bytes("xyzw"), p), ReadResult::badMagic);
    EXPECT_EQ(readPresetFile(bytes("rBvK"), p), ReadResult::tooShort);
    EXPECT_EQ(readPresetFile({}, p), ReadResult::tooShort);
    for (std::size_t n = 5; n < 77; ++n)
        EXPECT_EQ(readPresetFile(std::span(preset.data(), n), p), ReadResult::tooShort) << n;
    for (std::size_t n : {5u, 29u, 77u, 149u, 2380u})
        EXPECT_EQ(readBankFile(std::span(bank.data(), n), b), ReadResult::tooShort) << n;
}
