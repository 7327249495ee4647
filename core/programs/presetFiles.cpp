#include "presetFiles.h"

#include <cstdint>
#include <cstring>

namespace presetFiles {

namespace {

constexpr std::size_t kHeaderSize = 5;
constexpr std::size_t kNameSize = kProgramNameLength;
constexpr std::size_t kValuesSize = 4 * kProgramParams;
constexpr std::size_t kRecordSize = kNameSize + kValuesSize;

static_assert(kHeaderSize + kRecordSize == kPresetFileSize);
static_assert(kHeaderSize + kBankPrograms * kRecordSize == kBankFileSize);
static_assert(kHeaderSize + (kBankPrograms - 1) * kNameSize < kForeignBankFileSize);

// The effect's unique ID as it lies in memory, low byte first; older writers
// put it the other way round.
constexpr unsigned char kMagic[4] = {'r', 'B', 'v', 'K'};
constexpr unsigned char kReversedMagic[4] = {'K', 'v', 'B', 'r'};

ReadResult checkHeader(std::span<const unsigned char> file, unsigned char kind,
                       std::size_t layoutSize) {
    if (file.size() < 4) return ReadResult::tooShort;
    const bool magic = std::memcmp(file.data(), kMagic, 4) == 0 ||
                       std::memcmp(file.data(), kReversedMagic, 4) == 0;
    if (!magic) return ReadResult::badMagic;
    if (file.size() < kHeaderSize) return ReadResult::tooShort;
    if (file[4] != kind) return ReadResult::wrongKind;
    if (file.size() < layoutSize) return ReadResult::tooShort;
    return ReadResult::ok;
}

void readName(const unsigned char* bytes, char (&name)[kProgramNameLength + 1]) {
    std::memset(name, 0, sizeof(name));
    for (std::size_t i = 0; i < kNameSize && bytes[i]; ++i) name[i] = static_cast<char>(bytes[i]);
}

void readValues(const unsigned char* bytes, float (&values)[kProgramParams]) {
    for (int k = 0; k < kProgramParams; ++k) {
        const unsigned char* b = bytes + 4 * k;
        const std::uint32_t bits = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                                   std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
        std::memcpy(&values[k], &bits, 4);
    }
}

unsigned char* writeHeader(unsigned char* out, unsigned char kind) {
    std::memcpy(out, kMagic, 4);
    out[4] = kind;
    return out + kHeaderSize;
}

// A name of exactly 24 characters has no terminating zero in the file.
unsigned char* writeRecord(unsigned char* out, const Record& record) {
    std::memset(out, 0, kNameSize);
    for (std::size_t i = 0; i < kNameSize && record.name[i]; ++i)
        out[i] = static_cast<unsigned char>(record.name[i]);
    out += kNameSize;
    for (int k = 0; k < kProgramParams; ++k) {
        std::uint32_t bits;
        std::memcpy(&bits, &record.values[k], 4);
        for (int j = 0; j < 4; ++j) *out++ = static_cast<unsigned char>(bits >> (8 * j));
    }
    return out;
}

}  // namespace

ReadResult readPresetFile(std::span<const unsigned char> file, PresetFile& out) {
    const bool foreign = file.size() == kForeignPresetFileSize;
    const ReadResult result = checkHeader(file, kPresetKind, kPresetFileSize);
    if (result != ReadResult::ok) return result;
    const unsigned char* p = file.data() + kHeaderSize;
    out = PresetFile{};
    out.namesOnly = foreign;
    readName(p, out.record.name);
    if (!foreign) readValues(p + kNameSize, out.record.values);
    return ReadResult::ok;
}

ReadResult readBankFile(std::span<const unsigned char> file, BankFile& out) {
    const bool foreign = file.size() == kForeignBankFileSize;
    const ReadResult result = checkHeader(file, kBankKind, kBankFileSize);
    if (result != ReadResult::ok) return result;
    const unsigned char* p = file.data() + kHeaderSize;
    out = BankFile{};
    out.namesOnly = foreign;
    if (foreign) {
        // 32 names back to back, for slots 0 to 31.
        out.recordCount = kBankPrograms - 1;
        for (int j = 0; j < out.recordCount; ++j) readName(p + j * kNameSize, out.records[j].name);
    } else {
        out.recordCount = kBankPrograms;
        for (int j = 0; j < kBankPrograms; ++j) {
            readName(p + j * kRecordSize, out.records[j].name);
            readValues(p + j * kRecordSize + kNameSize, out.records[j].values);
        }
    }
    return ReadResult::ok;
}

std::array<unsigned char, kPresetFileSize> writePresetFile(const Record& record) {
    std::array<unsigned char, kPresetFileSize> file{};
    writeRecord(writeHeader(file.data(), kPresetKind), record);
    return file;
}

std::array<unsigned char, kBankFileSize> writeBankFile(
    const std::array<Record, kBankPrograms>& records) {
    std::array<unsigned char, kBankFileSize> file{};
    unsigned char* p = writeHeader(file.data(), kBankKind);
    for (const Record& record : records) p = writeRecord(p, record);
    return file;
}

Record recordOf(CProgram& program) {
    Record record;
    program.getName(record.name);
    for (int k = 0; k < kProgramParams; ++k) record.values[k] = program.getParam(k);
    return record;
}

}  // namespace presetFiles
