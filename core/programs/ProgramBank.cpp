#include "ProgramBank.h"

#include <cstring>
#include <thread>

#include "factoryPresets.h"

ProgramBank::ProgramBank(Parameters& parameters) : parameters(parameters) {
    fillFactoryPresets();
    for (int i = 0; i < kNumParams; ++i) folded[i] = parameters.read(i).changes;
    publish();
}

void ProgramBank::fillFactoryPresets() {
    for (int slot = 0; slot < kBankPrograms; ++slot) writeFactoryPreset(slot, programs[slot]);
    publish();
}

// ------------------------------------------------------------ keeping up

void ProgramBank::settle() {
    for (;;) {
        const std::uint32_t before = audioChanging.load(std::memory_order_acquire);
        if (before & 1u) {
            // The audio thread is half-way through a program change: a moment.
            std::this_thread::yield();
            continue;
        }
        const bool took = takeAudioChanges();
        Parameters::Reading now[kNumParams];
        for (int i = 0; i < kNumParams; ++i) now[i] = parameters.read(i);
        const std::uint32_t posted = postedChanges.load(std::memory_order_acquire);
        if (audioChanging.load(std::memory_order_acquire) != before) continue;
        drainedChanges = posted;
        bool wrote = false;
        for (int i = 0; i < kNumParams; ++i) {
            if (now[i].changes == folded[i]) continue;
            programs[currentPreset].setParam(i, now[i].value);
            programs[0].setParam(i, now[i].value);
            folded[i] = now[i].changes;
            wrote = true;
        }
        if (took || wrote) publish();
        return;
    }
}

bool ProgramBank::takeAudioChanges() {
    bool took = false;
    AudioChange change;
    while (audioChanges.pop(change)) {
        // The values the audio thread replaced belong to the slot it left.
        for (int i = 0; i < kNumParams; ++i) programs[currentPreset].setParam(i, change.before[i]);
        applySelection(change.slot);
        took = true;
    }
    const int latest = overflowSlot.exchange(-1, std::memory_order_acq_rel);
    if (latest >= 0) {
        applySelection(latest);
        took = true;
    }
    return took;
}

void ProgramBank::applySelection(int slot) {
    currentPreset = slot;
    char name[kProgramNameLength + 1];
    programs[slot].getName(name);
    programs[0].setName(name);
    for (int i = 0; i < kNumParams; ++i) programs[0].setParam(i, programs[slot].getParam(i));
    changed();
}

void ProgramBank::publish() {
    Snapshot snapshot;
    snapshot.selected = currentPreset;
    snapshot.drained = drainedChanges;
    for (int slot = 0; slot < kBankPrograms; ++slot)
        for (int i = 0; i < kNumParams; ++i) snapshot.values[slot][i] = programs[slot].getParam(i);
    snapshots.publish(snapshot);
}

// ------------------------------------------------------------ the main thread

CProgram* ProgramBank::getBankProgram(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return nullptr;
    settle();
    return &programs[slot];
}

int ProgramBank::getCurrentPreset() {
    settle();
    return currentPreset;
}

void ProgramBank::setProgram(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return;
    settle();
    // Written through into the selection and slot 0 at the next look, as any change is.
    for (int i = 0; i < kNumParams; ++i) parameters.set(i, programs[slot].getParam(i));
}

void ProgramBank::selectPreset(int slot, HostPort* port) {
    if (slot < 0 || slot >= kBankPrograms) return;
    settle();
    selectSettled(slot, port);
}

void ProgramBank::selectSettled(int slot, HostPort* port) {
    currentPreset = slot;
    CProgram& selected = programs[slot];
    for (int i = 0; i < kNumParams; ++i) {
        const float value = selected.getParam(i);
        // The bank holds this value already: nothing to write through.
        folded[i] = parameters.set(i, value);
        programs[0].setParam(i, value);
        if (port) {
            // One edit gesture per parameter, so hosts record a preset change as the user's.
            port->beginEdit(i);
            port->automate(i, parameters.get(i));
            port->automate(i, value);
            port->endEdit(i);
        }
    }
    char name[kProgramNameLength + 1];
    selected.getName(name);
    programs[0].setName(name);
    publish();
    changed();
    if (port) port->updateDisplay();
}

void ProgramBank::automateParameter(int index, float value, HostPort* port) {
    parameters.set(index, value);
    if (!port) return;
    port->beginEdit(index);
    port->automate(index, parameters.get(index));
    port->automate(index, value);
    port->endEdit(index);
}

void ProgramBank::setPresetName(const char* text) {
    settle();
    char cut[kProgramNameLength + 1] = {};
    const int length = boundedLength(text, kProgramNameLength);
    if (length) std::memcpy(cut, text, static_cast<size_t>(length));
    programs[currentPreset].setName(cut);
    programs[0].setName(cut);
    changed();
}

void ProgramBank::renamePreset(const char* text, HostPort* port) {
    settle();
    programs[currentPreset].setName(text);
    programs[0].setName(text);
    changed();
    if (port) port->updateDisplay();
}

void ProgramBank::loadPresetRecord(const presetFiles::PresetFile& file, HostPort* port) {
    settle();
    CProgram& program = programs[currentPreset];
    program.setName(file.record.name);
    if (!file.namesOnly)
        for (int k = 0; k < kProgramParams; ++k) program.setParam(k, file.record.values[k]);
    selectSettled(currentPreset, port);
}

void ProgramBank::loadBankRecords(const presetFiles::BankFile& file, HostPort* port) {
    settle();
    for (int j = 0; j < file.recordCount && j < kBankPrograms; ++j) {
        programs[j].setName(file.records[j].name);
        if (!file.namesOnly)
            for (int k = 0; k < kProgramParams; ++k) programs[j].setParam(k, file.records[j].values[k]);
    }
    selectSettled(0, port);
}

presetFiles::Record ProgramBank::recordOf(int slot) {
    settle();
    return presetFiles::recordOf(programs[slot < 0 || slot >= kBankPrograms ? 0 : slot]);
}

std::array<unsigned char, presetFiles::kBankFileSize> ProgramBank::saveBank(int* selected) {
    settle();
    std::array<presetFiles::Record, kBankPrograms> records;
    for (int slot = 0; slot < kBankPrograms; ++slot) records[slot] = presetFiles::recordOf(programs[slot]);
    if (selected) *selected = currentPreset;
    return presetFiles::writeBankFile(records);
}

ProgramBank::Restore ProgramBank::restoreBank(std::span<const unsigned char> bytes, long selected) {
    // Exactly our layout: a longer blob is some other writer's, an older
    // names-only layout would lose every value.
    presetFiles::BankFile bank;
    if (bytes.size() != presetFiles::kBankFileSize ||
        presetFiles::readBankFile(bytes, bank) != presetFiles::ReadResult::ok || bank.namesOnly ||
        bank.recordCount != kBankPrograms)
        return Restore::damagedBank;
    if (selected < 0 || selected >= kBankPrograms) return Restore::badSelection;
    settle();
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        programs[slot].setName(bank.records[slot].name);
        // setParam clamps to 0..1 and stores NaN as 0, as for a loaded bank file.
        for (int k = 0; k < kProgramParams; ++k) programs[slot].setParam(k, bank.records[slot].values[k]);
    }
    selectSettled(static_cast<int>(selected), nullptr);
    return Restore::ok;
}

// ------------------------------------------------------------ the audio thread

void ProgramBank::selectPresetForAudio(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return;
    const Snapshot& bank = snapshots.latest();
    // The main thread's selection counts once it has taken in all of ours.
    if (bank.drained == postedChanges.load(std::memory_order_relaxed)) audioSelection = bank.selected;
    if (slot == audioSelection) return;
    audioChanging.fetch_add(1, std::memory_order_acq_rel);
    AudioChange change;
    change.slot = slot;
    for (int i = 0; i < kNumParams; ++i) change.before[i] = parameters.get(i);
    for (int i = 0; i < kNumParams; ++i) parameters.set(i, bank.values[slot][i]);
    // Once a change has waited outside the ring, later ones wait there too,
    // so that the main thread never takes them out of order.
    if (overflowSlot.load(std::memory_order_acquire) >= 0 || !audioChanges.push(change))
        overflowSlot.store(slot, std::memory_order_release);
    postedChanges.fetch_add(1, std::memory_order_release);
    audioSelection = slot;
    audioChanging.fetch_add(1, std::memory_order_release);
}
