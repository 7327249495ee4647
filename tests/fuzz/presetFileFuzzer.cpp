// Feeds arbitrary bytes to the preset and bank readers as a loaded file would
// reach them, as an LV2 host's saved state reaches the restore, and as a VST 3
// host's stream reaches the component state's reader, and stops
// on anything a file must never do: a rejected file that changes the bank, a
// value outside 0.0 to 1.0, a name past 24 characters.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/Compressor.h"
#include "core/editorModel.h"
#include "editor/presetFileOperations.h"
#include "editor/presetPanel.h"
#include "formats/vst3/stateStream.h"

namespace {

struct BankImage {
    char names[kBankPrograms][kProgramNameLength + 1];
    std::uint32_t bits[kBankPrograms][kProgramParams];
    int current;
};

bool operator==(const BankImage& a, const BankImage& b) {
    return std::memcmp(a.names, b.names, sizeof(a.names)) == 0 &&
           std::memcmp(a.bits, b.bits, sizeof(a.bits)) == 0 && a.current == b.current;
}

BankImage imageOf(ProgramBank& effect) {
    BankImage image;
    for (int j = 0; j < kBankPrograms; ++j) {
        CProgram* program = effect.getBankProgram(j);
        std::memcpy(image.names[j], program->name, sizeof(image.names[j]));
        for (int k = 0; k < kProgramParams; ++k) {
            const float v = program->getParam(k);
            std::memcpy(&image.bits[j][k], &v, 4);
        }
    }
    image.current = effect.getCurrentPreset();
    return image;
}

void require(bool condition) {
    if (!condition) std::abort();
}

bool isShortName(const char* name) { return std::memchr(name, 0, kProgramNameLength + 1); }

// After a file was taken: every value is in range and the selected preset and
// the working program agree.
void checkBank(ProgramBank& effect) {
    const int current = effect.getCurrentPreset();
    require(current >= 0 && current < kBankPrograms);
    for (int j = 0; j < kBankPrograms; ++j) {
        CProgram* program = effect.getBankProgram(j);
        require(program->name[kProgramNameLength] == 0);
        for (int k = 0; k < kProgramParams; ++k) {
            const float v = program->getParam(k);
            require(v >= 0.0f && v <= 1.0f);
        }
    }
    CProgram* selected = effect.getBankProgram(current);
    CProgram* working = effect.getBankProgram(0);
    require(std::strcmp(selected->name, working->name) == 0);
    for (int k = 0; k < kProgramParams; ++k) require(selected->getParam(k) == working->getParam(k));
}

// The panel only ever gets names of at most 24 characters.
struct CheckingPanel : CPresetPanel {
    void displayPresetName(const char* name) override { require(isShortName(name)); }
    void setNameFieldText(const char* text) override { require(isShortName(text)); }
    void setMenuEntryText(int entry, const char* text) override {
        require(entry == 0 || (entry >= 2 && entry <= kBankPrograms));
        require(isShortName(text));
    }
    void selectMenuEntry(int slot) override { require(slot == 0); }
};

// A host's stream over the input that hands out at most `chunk` bytes a read.
class ChunkedStream : public vst3::IBStream {
public:
    ChunkedStream(std::span<const unsigned char> bytes, std::size_t chunk) : bytes(bytes), chunk(chunk) {}
    vst3::tresult queryInterface(const vst3::Uid&, void** obj) override {
        *obj = nullptr;
        return vst3::kNoInterface;
    }
    vst3::uint32 addRef() override { return 1; }
    vst3::uint32 release() override { return 1; }
    vst3::tresult read(void* buffer, vst3::int32 wanted, vst3::int32* got) override {
        const std::size_t n = std::min({static_cast<std::size_t>(wanted), chunk, bytes.size() - at});
        std::memcpy(buffer, bytes.data() + at, n);
        at += n;
        *got = static_cast<vst3::int32>(n);
        return vst3::kResultOk;
    }
    vst3::tresult write(void*, vst3::int32, vst3::int32*) override { return vst3::kResultFalse; }
    vst3::tresult seek(vst3::int64, vst3::int32, vst3::int64*) override { return vst3::kResultFalse; }
    vst3::tresult tell(vst3::int64*) override { return vst3::kResultFalse; }

private:
    std::span<const unsigned char> bytes;
    std::size_t chunk;
    std::size_t at = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Compressor compressor;
    static ProgramBank& effect = compressor.bank();
    static EditorModel model(compressor.parameters(), &effect, nullptr, nullptr);
    static CheckingPanel panel;
    static CPresetFileOperations files(&model, &panel);
    const std::span<const unsigned char> file(data, size);

    // A preset file lands in whichever slot is selected.
    effect.selectPreset(static_cast<int>(size % kBankPrograms));
    BankImage before = imageOf(effect);
    if (files.applyPresetFile(file) != presetFiles::ReadResult::ok)
        require(imageOf(effect) == before);
    checkBank(effect);

    before = imageOf(effect);
    if (files.applyBankFile(file) != presetFiles::ReadResult::ok)
        require(imageOf(effect) == before);
    else
        require(effect.getCurrentPreset() == 0);
    checkBank(effect);

    // A saved session's bank, with a selection that may be out of range.
    const long selected = size ? static_cast<signed char>(data[size - 1]) : 0;
    before = imageOf(effect);
    if (effect.restoreBank(file, selected) != ProgramBank::Restore::ok)
        require(imageOf(effect) == before);
    else
        require(effect.getCurrentPreset() == selected);
    checkBank(effect);

    // A VST 3 component state, read in pieces as small as the first byte says;
    // a refused one leaves the bank and the instance settings alone.
    before = imageOf(effect);
    const float oversampling = compressor.parameters().get(kOversamplingParameter);
    bool bypass = false;
    ChunkedStream stream(file, size ? 1 + data[0] % 64 : 1);
    if (!vst3::state::load(&stream, effect, compressor.parameters(), bypass)) {
        require(imageOf(effect) == before);
        require(compressor.parameters().get(kOversamplingParameter) == oversampling);
    }
    checkBank(effect);
    return 0;
}
