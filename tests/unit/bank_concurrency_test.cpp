// The bank between its two threads: the host's program changes on the audio
// thread (as VST 3 delivers them inside process) while the main thread
// restores saved banks. Whichever wins, once both threads are quiet the bank
// must hold one program whole: the parameters are the selected slot's, slot 0
// is its copy, and no other slot took anything from the changes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/Compressor.h"
#include "platform/headless/memorySettingsStore.h"

TEST(Concurrency, BankTakesAudioProgramChangesWholeAgainstRestores) {
    platform::headless::memorySettingsStore().clear();
    Compressor compressor;
    ProgramBank& bank = compressor.bank();
    Parameters& parameters = compressor.parameters();
    bank.renamePreset("Restored");
    const auto saved = bank.saveBank();

    for (int round = 0; round < 400; ++round) {
        std::atomic<bool> done{false};
        std::thread audio([&] {
            for (int n = 0; !done.load(std::memory_order_relaxed); ++n)
                bank.selectPresetForAudio(n % 2 ? 22 : 5);
        });
        for (int i = 0; i < 20; ++i) ASSERT_EQ(bank.restoreBank(saved, 3), ProgramBank::Restore::ok);
        done = true;
        audio.join();

        const int selected = bank.getCurrentPreset();
        Compressor reference;
        reference.bank().restoreBank(saved, selected);
        char name[kProgramNameLength + 1], expected[kProgramNameLength + 1];
        bank.getBankProgram(0)->getName(name);
        bank.getBankProgram(selected)->getName(expected);
        ASSERT_STREQ(name, expected) << "round " << round;
        for (int i = 0; i < kProgramParams; ++i) {
            ASSERT_EQ(parameters.get(i), bank.getBankProgram(selected)->getParam(i)) << round << " " << i;
            ASSERT_EQ(bank.getBankProgram(0)->getParam(i), parameters.get(i)) << round << " " << i;
        }
        for (int slot = 1; slot < kBankPrograms; ++slot)
            for (int i = 0; i < kProgramParams; ++i)
                ASSERT_EQ(bank.getBankProgram(slot)->getParam(i),
                          reference.bank().getBankProgram(slot)->getParam(i))
                    << "round " << round << " slot " << slot << " parameter " << i;
    }
}
