#include "ProgramBank.h"

#include <cstring>
#include <thread>

#include "factoryPresets.h"

ProgramBank::ProgramBank(Parameters& parameters) : parameters(parameters) {
    fillFactoryPresets();
    for (int i = 0; i < kProgramParams; ++i) folded[i] = parameters.read(i).changes;
    publish();
}

void ProgramBank::fillFactoryPresets() {
    const MainTurn turn(*this);
    for (int slot = 0; slot < kBankPrograms; ++slot) writeFactoryPreset(slot, programs[slot]);
    publish();
}

// ------------------------------------------------------------ keeping up

ProgramBank::MainTurn::MainTurn(ProgramBank& bank) : bank(bank) {
    if (bank.mainTurns++ > 0) return;
    bank.mainBusy.store(true);
    // The audio thread holds the program for a few dozen stores at most.
    while (bank.audioBusy.load()) std::this_thread::yield();
}

ProgramBank::MainTurn::~MainTurn() {
    if (--bank.mainTurns == 0) bank.mainBusy.store(false, std::memory_order_release);
}

void ProgramBank::settle() {
    const bool took = takeAudioChanges();
    // In the main thread's turn no audio change is under way: what the
    // parameters hold now is whole.
    drainedChanges = postedChanges.load(std::memory_order_acquire);
    bool wrote = false;
    for (int i = 0; i < kProgramParams; ++i) {
        const Parameters::Reading now = parameters.read(i);
        if (now.changes == folded[i]) continue;
        programs[currentPreset].setParam(i, now.value);
        programs[0].setParam(i, now.value);
        folded[i] = now.changes;
        wrote = true;
    }
    if (took || wrote) publish();
}

bool ProgramBank::takeAudioChanges() {
    bool took = false;
    AudioChange change;
    while (audioChanges.pop(change)) {
        // The values the audio thread replaced belong to the slot it left.
        for (int i = 0; i < kProgramParams; ++i) programs[currentPreset].setParam(i, change.before[i]);
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
    for (int i = 0; i < kProgramParams; ++i) programs[0].setParam(i, programs[slot].getParam(i));
    changed();
}

void ProgramBank::publish() {
    Snapshot snapshot;
    snapshot.selected = currentPreset;
    snapshot.drained = drainedChanges;
    for (int slot = 0; slot < kBankPrograms; ++slot)
        for (int i = 0; i < kProgramParams; ++i) snapshot.values[slot][i] = programs[slot].getParam(i);
    snapshots.publish(snapshot);
}

// ------------------------------------------------------------ the main thread

CProgram* ProgramBank::getBankProgram(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return nullptr;
    const MainTurn turn(*this);
    settle();
    return &programs[slot];
}

int ProgramBank::getCurrentPreset() {
    const MainTurn turn(*this);
    settle();
    return currentPreset;
}

void ProgramBank::setProgram(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return;
    const MainTurn turn(*this);
    settle();
    // Written through into the selection and slot 0 at the next look, as any change is.
    for (int i = 0; i < kProgramParams; ++i) parameters.set(i, programs[slot].getParam(i));
}

void ProgramBank::selectPreset(int slot, HostPort* port) {
    if (slot < 0 || slot >= kBankPrograms) return;
    const MainTurn turn(*this);
    settle();
    selectSettled(slot, port);
}

void ProgramBank::selectSettled(int slot, HostPort* port) {
    currentPreset = slot;
    CProgram& selected = programs[slot];
    for (int i = 0; i < kProgramParams; ++i) {
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
    const MainTurn turn(*this);
    parameters.set(index, value);
    if (!port) return;
    port->beginEdit(index);
    port->automate(index, parameters.get(index));
    port->automate(index, value);
    port->endEdit(index);
}

void ProgramBank::setPresetName(const char* text) {
    const MainTurn turn(*this);
    settle();
    char cut[kProgramNameLength + 1] = {};
    const int length = boundedLength(text, kProgramNameLength);
    if (length) std::memcpy(cut, text, static_cast<size_t>(length));
    programs[currentPreset].setName(cut);
    programs[0].setName(cut);
    changed();
}

void ProgramBank::renamePreset(const char* text, HostPort* port) {
    const MainTurn turn(*this);
    settle();
    programs[currentPreset].setName(text);
    programs[0].setName(text);
    changed();
    if (port) port->updateDisplay();
}

void ProgramBank::loadPresetRecord(const presetFiles::PresetFile& file, HostPort* port) {
    const MainTurn turn(*this);
    settle();
    CProgram& program = programs[currentPreset];
    program.setName(file.record.name);
    if (!file.namesOnly)
        for (int k = 0; k < kProgramParams; ++k) program.setParam(k, file.record.values[k]);
    selectSettled(currentPreset, port);
}

void ProgramBank::loadBankRecords(const presetFiles::BankFile& file, HostPort* port) {
    const MainTurn turn(*this);
    settle();
    for (int j = 0; j < file.recordCount && j < kBankPrograms; ++j) {
        programs[j].setName(file.records[j].name);
        if (!file.namesOnly)
            for (int k = 0; k < kProgramParams; ++k) programs[j].setParam(k, file.records[j].values[k]);
    }
    selectSettled(0, port);
}

presetFiles::Record ProgramBank::recordOf(int slot) {
    const MainTurn turn(*this);
    settle();
    return presetFiles::recordOf(programs[slot < 0 || slot >= kBankPrograms ? 0 : slot]);
}

std::array<unsigned char, presetFiles::kBankFileSize> ProgramBank::saveBank(int* selected) {
    const MainTurn turn(*this);
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
    const MainTurn turn(*this);
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

bool ProgramBank::selectPresetForAudio(int slot) {
    if (slot < 0 || slot >= kBankPrograms) return false;
    audioBusy.store(true);
    if (mainBusy.load()) {
        audioBusy.store(false, std::memory_order_release);
        waitingSlot = slot;
        return false;
    }
    waitingSlot = -1;
    const Snapshot& bank = snapshots.latest();
    // The main thread's selection counts once it has taken in all of ours.
    if (bank.drained == postedChanges.load(std::memory_order_relaxed)) audioSelection = bank.selected;
    if (slot == audioSelection) {
        audioBusy.store(false, std::memory_order_release);
        return false;
    }
    AudioChange change;
    change.slot = slot;
    for (int i = 0; i < kProgramParams; ++i) change.before[i] = parameters.get(i);
    for (int i = 0; i < kProgramParams; ++i) parameters.set(i, bank.values[slot][i]);
    // Once a change has waited outside the ring, later ones wait there too,
    // so that the main thread never takes them out of order.
    if (overflowSlot.load(std::memory_order_acquire) >= 0 || !audioChanges.push(change))
        overflowSlot.store(slot, std::memory_order_release);
    postedChanges.fetch_add(1, std::memory_order_release);
    audioSelection = slot;
    audioBusy.store(false, std::memory_order_release);
    return true;
}

bool ProgramBank::retryAudioProgramChange() {
    return waitingSlot >= 0 && selectPresetForAudio(waitingSlot);
}
