// The bank of 33 programs behind the host's single program: slot 0 is the
// working program, slots 1 to 32 the presets. Selecting, renaming, the A/B
// memories and the factory fill; the write-through of every parameter change
// into slot 0 and the selected preset.
//
// Threads: the bank belongs to the host's main (UI) thread; every operation
// but the two for the audio thread runs there. The audio thread never writes
// it. Parameter changes (from any thread) reach slot 0 and the selected
// preset when the main thread next looks at the bank. A program change the
// host makes on the audio thread takes its values from a copy the main
// thread published, and the main thread brings the bank up to date with it.
// The two threads take turns at changing the program: the main thread waits
// out an audio change already under way (a few dozen stores); the audio
// thread never waits: a change that finds the main thread at work waits for
// a later block (retryAudioProgramChange()).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

#include "CProgram.h"
#include "core/handOver.h"
#include "core/hostPort.h"
#include "core/parameters.h"
#include "presetFiles.h"

static_assert(kProgramParams == kProgramParameters, "a program holds the twelve program parameters");

class ProgramBank {
public:
    // Filled with the factory programs; slot 0 selected; the parameters untouched.
    explicit ProgramBank(Parameters& parameters);
    ProgramBank(const ProgramBank&) = delete;
    ProgramBank& operator=(const ProgramBank&) = delete;

    // Writes the factory records only: no selection, no parameter, no host call.
    void fillFactoryPresets();

    // A bank slot (up to date with the parameters), or null when it does not exist.
    CProgram* getBankProgram(int slot);
    int getCurrentPreset();
    // How many times the names or the selection changed: the preset panel
    // compares it with what it last showed.
    std::uint32_t changes() const { return changeCount.load(std::memory_order_acquire); }

    // Applies a slot's values to the parameters, nothing else (the host's one
    // program chosen, a resume).
    void setProgram(int slot);
    // Selects a slot: its values become the parameters', slot 0 takes its
    // values and name. The host hears it as one edit gesture per parameter
    // and a display update when `port` is given (the user chose it); a
    // host's own choice passes none.
    void selectPreset(int slot, HostPort* port = nullptr);
    // Renames the selected preset and slot 0 (cut to 24 characters): the
    // host's rename and a recalled memory's name.
    void setPresetName(const char* text);
    // The same from the editor's name field; the host is told.
    void renamePreset(const char* text, HostPort* port = nullptr);
    // Sets a parameter and reports it as begin, automate, automate, end.
    void automateParameter(int index, float value, HostPort* port);

    // The A/B memories in the machine's settings store, shared by every
    // instance; the answers are the store's status of the last step.
    long storeMemoA() { return storeMemo("MemoA"); }
    long storeMemoB() { return storeMemo("MemoB"); }
    long recallMemoA(HostPort* port = nullptr) { return recallMemo("MemoA", port); }
    long recallMemoB(HostPort* port = nullptr) { return recallMemo("MemoB", port); }

    // Files: a preset file's record into the selected slot, or a bank file's
    // records into the slots from 0 (values only where the file has them),
    // then that slot selected as the user's choice.
    void loadPresetRecord(const presetFiles::PresetFile& file, HostPort* port = nullptr);
    void loadBankRecords(const presetFiles::BankFile& file, HostPort* port = nullptr);
    // A slot as a file record.
    presetFiles::Record recordOf(int slot);

    // The whole bank in the bank-file layout, and the selected slot (for the
    // formats' saved states).
    std::array<unsigned char, presetFiles::kBankFileSize> saveBank(int* selected = nullptr);
    enum class Restore { ok, damagedBank, badSelection };
    // A host's saved bank: only a complete bank file of this layout (values
    // included) and a slot from 0 to 32 replace the bank and select that
    // slot, telling nobody (the host restores its controls itself); anything
    // else changes nothing.
    Restore restoreBank(std::span<const unsigned char> bytes, long selected);

    // Audio thread, at a program change's offset within a block: the
    // parameters take the slot's values at once, from the copy the main
    // thread published; the bank follows on the main thread. True when the
    // program changed now; false for the slot already selected, a slot that
    // is none, or a change that waits because the main thread is at work.
    bool selectPresetForAudio(int slot);
    // Audio thread, at the start of a block: a change that waited is made
    // now if it can be; true when it was.
    bool retryAudioProgramChange();

private:
    // What the audio thread changed: the slot it selected and the values the
    // parameters had just before (they belong to the slot it left).
    struct AudioChange {
        int slot = 0;
        float before[kProgramParams] = {};
    };
    // What the audio thread reads of the bank.
    struct Snapshot {
        int selected = 0;
        std::uint32_t drained = 0;  // audio changes the main thread had taken in
        float values[kBankPrograms][kProgramParams] = {};
    };

    // The main thread's turn at the program for as long as it lives (nested
    // turns are one); it waits out a change the audio thread has under way.
    class MainTurn {
    public:
        explicit MainTurn(ProgramBank& bank);
        ~MainTurn();
        MainTurn(const MainTurn&) = delete;
        MainTurn& operator=(const MainTurn&) = delete;

    private:
        ProgramBank& bank;
    };

    // Main thread, in its turn, first in every operation: takes in the audio
    // thread's program changes, then writes the parameters that changed
    // since the last look into slot 0 and the selected preset.
    void settle();
    bool takeAudioChanges();
    // Slot 0 takes a newly selected slot's name and values.
    void applySelection(int slot);
    // selectPreset() once settled.
    void selectSettled(int slot, HostPort* port);
    void publish();
    void changed() { changeCount.fetch_add(1, std::memory_order_release); }
    long storeMemo(const char* memo);
    long recallMemo(const char* memo, HostPort* port);

    Parameters& parameters;
    std::array<CProgram, kBankPrograms> programs;
    int currentPreset = 0;
    // The change count of each parameter whose value the bank already holds.
    std::uint32_t folded[kProgramParams] = {};
    std::atomic<std::uint32_t> changeCount{0};

    // Between the threads.
    TripleBuffer<Snapshot> snapshots;
    HandOverRing<AudioChange, 16> audioChanges;
    // A change that found the ring full: only the latest slot is kept.
    std::atomic<int> overflowSlot{-1};
    std::atomic<std::uint32_t> postedChanges{0};  // written by the audio thread
    std::uint32_t drainedChanges = 0;             // main thread
    // Each side raises its flag and then looks at the other's (sequentially
    // consistent, so that at least one of them sees the other).
    std::atomic<bool> mainBusy{false};
    std::atomic<bool> audioBusy{false};
    int mainTurns = 0;  // the main thread's nesting

    // The audio thread's alone.
    int audioSelection = 0;
    int waitingSlot = -1;  // a change that found the main thread at work
};
