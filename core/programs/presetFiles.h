// The preset (.kvp) and bank (.kvb) file layouts as pure functions over bytes.
// Values are carried exactly as stored; clamping happens when a record is
// applied to the bank.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "CProgram.h"

namespace presetFiles {

constexpr std::size_t kPresetFileSize = 77;
constexpr std::size_t kBankFileSize = 2381;
// Files of these exact sizes from an older layout carry names only.
constexpr std::size_t kForeignPresetFileSize = 149;
constexpr std::size_t kForeignBankFileSize = 4325;

constexpr unsigned char kPresetKind = 0x21;  // '!'
constexpr unsigned char kBankKind = 0x37;    // '7'

struct Record {
    char name[kProgramNameLength + 1] = {};  // at most 24 characters, zero-terminated
    float values[kProgramParams] = {};       // as stored in the file, not clamped
};

struct PresetFile {
    Record record;
    bool namesOnly = false;  // a foreign 149-byte file: the values are not read
};

struct BankFile {
    std::array<Record, kBankPrograms> records;
    int recordCount = kBankPrograms;  // 32 for a foreign 4325-byte file
    bool namesOnly = false;  // a foreign 4325-byte file: the values are not read
};

enum class ReadResult {
    ok,
    badMagic,   // neither "rBvK" nor "KvBr"
    wrongKind,  // the other kind of file
    tooShort,   // shorter than its layout
};

// Parses a whole file; out is written only when the answer is ok. The magic
// is checked first, then the kind, then the length.
ReadResult readPresetFile(std::span<const unsigned char> file, PresetFile& out);
ReadResult readBankFile(std::span<const unsigned char> file, BankFile& out);

std::array<unsigned char, kPresetFileSize> writePresetFile(const Record& record);
std::array<unsigned char, kBankFileSize> writeBankFile(
    const std::array<Record, kBankPrograms>& records);

// The record a bank program would be saved as.
Record recordOf(CProgram& program);

}  // namespace presetFiles
