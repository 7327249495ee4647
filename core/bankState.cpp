#include "bankState.h"

#include "formats/vst2/CPresetSystemEffect.h"

namespace bankState {

std::array<unsigned char, presetFiles::kBankFileSize> saveBank(CPresetSystemEffect& effect) {
    if (!effect.getBankProgram(0)) return {};
    std::array<presetFiles::Record, kBankPrograms> records;
    for (int slot = 0; slot < kBankPrograms; ++slot)
        records[slot] = presetFiles::recordOf(*effect.getBankProgram(slot));
    return presetFiles::writeBankFile(records);
}

Restore restoreBank(CPresetSystemEffect& effect, std::span<const unsigned char> bytes,
                    long selected) {
    if (!effect.getBankProgram(0)) return Restore::noBank;
    // Exactly our layout: a longer blob is some other writer's, an older
    // names-only layout would lose every value.
    presetFiles::BankFile bank;
    if (bytes.size() != presetFiles::kBankFileSize ||
        presetFiles::readBankFile(bytes, bank) != presetFiles::ReadResult::ok || bank.namesOnly ||
        bank.recordCount != kBankPrograms)
        return Restore::damagedBank;
    if (selected < 0 || selected >= kBankPrograms) return Restore::badSelection;
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        CProgram* program = effect.getBankProgram(slot);
        program->setName(bank.records[slot].name);
        // setParam clamps to 0..1 and stores NaN as 0, as for a loaded bank file.
        for (int k = 0; k < kProgramParams; ++k) program->setParam(k, bank.records[slot].values[k]);
    }
    // Drives the engine and mirrors the slot into slot 0, as the editor's selection does.
    effect.selectPreset(static_cast<vst2::int32>(selected));
    return Restore::ok;
}

}  // namespace bankState
