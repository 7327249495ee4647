// The main thread's work while the audio thread processes: states loaded and
// saved, programs chosen, values read, as hosts do during playback. Run under
// ThreadSanitizer too (the tsan preset).
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

#include "clapRender.h"
#include "clapTestSupport.h"
#include "core/pluginState.h"
#include "core/programs/presetFiles.h"

namespace {

// A state block whose programs differ from the factory's and from every
// other state's: named for the state and slot, values strictly between 0 and 1.
std::vector<unsigned char> madeState(int state, int selected) {
    std::array<presetFiles::Record, kBankPrograms> records;
    for (int slot = 0; slot < kBankPrograms; ++slot) {
        std::snprintf(records[slot].name, sizeof records[slot].name, "State %d slot %d", state, slot);
        for (int i = 0; i < kProgramParams; ++i)
            records[slot].values[i] = static_cast<float>(1 + (state * 7 + slot * 3 + i) % 39) / 40.0f;
    }
    std::vector<unsigned char> block(std::begin(pluginState::kMagic), std::end(pluginState::kMagic));
    for (int number : {1, selected})  // a version 1 block: the bank alone
        for (int byte = 0; byte < 4; ++byte) block.push_back(static_cast<unsigned char>(number >> (8 * byte)));
    const auto bank = presetFiles::writeBankFile(records);
    block.insert(block.end(), bank.begin(), bank.end());
    return block;
}

presetFiles::BankFile bankOf(const std::vector<unsigned char>& state) {
    presetFiles::BankFile bank;
    EXPECT_EQ(presetFiles::readBankFile(
                  std::span(state).subspan(pluginState::kHeaderSize, presetFiles::kBankFileSize), bank),
              presetFiles::ReadResult::ok);
    return bank;
}

// The first program of `saved`, other than slot 0 and the selected one, that
// is not as `loaded` has it; "" when there is none.
std::string programsNotAsLoaded(const std::vector<unsigned char>& saved,
                                const std::vector<unsigned char>& loaded) {
    if (saved[8] != loaded[8]) return "another selection";
    const presetFiles::BankFile now = bankOf(saved), then = bankOf(loaded);
    for (int slot = 1; slot < kBankPrograms; ++slot) {
        if (slot == loaded[8]) continue;
        const presetFiles::Record &a = now.records[slot], &b = then.records[slot];
        if (std::string(a.name) != b.name || !std::equal(std::begin(a.values), std::end(a.values), b.values))
            return "slot " + std::to_string(slot) + " (" + a.name + ")";
    }
    return "";
}

}  // namespace

TEST(ClapConcurrency, StatesAndProgramsOnTheMainThreadWhileTheAudioThreadProcesses) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const auto* load = host.extension<clapabi::PluginPresetLoad>(clapabi::kExtPresetLoad);
    ASSERT_TRUE(load->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, "9"));
    const std::vector<unsigned char> nine = savedState(host);
    ASSERT_TRUE(host.activate(48000, 1, 256));
    ASSERT_TRUE(host.startProcessing());
    std::atomic<bool> stop{false};
    Signal<float> audio = converted<float>(burstSignal(2, 256));
    std::atomic<int> blocks{0};
    int errors = 0;
    const std::function<void()> playback = [&] {
        while (!stop.load()) {
            InputEventList automation;
            const int block = blocks.load();
            automation.add(static_cast<std::uint32_t>(block % 256), kCompression, (block % 40) / 4.0);
            if (processInPlace(host.plugin, audio, 0, 256, automation) != clapabi::kProcessContinue) ++errors;
            ++blocks;
        }
    };
    host.audio.begin(playback);
    // The main thread's work starts once audio flows, and goes on while it does.
    while (blocks.load() == 0) std::this_thread::yield();
    for (int round = 0; round < 200 || blocks.load() < 400; ++round) {
        const std::string key = std::to_string(1 + round % 32);
        EXPECT_TRUE(load->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, key.c_str()));
        EXPECT_TRUE(loadState(host, nine, 64));
        const double compression = valueOf(host, kCompression);
        EXPECT_TRUE(compression >= 0.0 && compression <= 10.0);
        EXPECT_EQ(savedState(host).size(), nine.size());
    }
    stop = true;
    host.audio.finish();
    host.stopProcessing();
    EXPECT_GE(blocks.load(), 400);
    EXPECT_EQ(errors, 0);
    for (const auto& channel : audio)
        for (float x : channel) ASSERT_TRUE(std::isfinite(x));
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

// Automation on the audio thread lands in the working program and the
// selected one only, never in a program a state load on the main thread has
// just written: every other program is the loaded state's.
TEST(ClapConcurrency, StatesLoadedDuringAutomationKeepEveryOtherProgramAsLoaded) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    // Selections that take turns, so that the program the automation wrote a
    // moment ago is one the next state fills.
    std::vector<std::vector<unsigned char>> states;
    for (int state = 0; state < 4; ++state) states.push_back(madeState(state, 1 + state % 2));
    ASSERT_TRUE(host.activate(48000, 1, 64));
    ASSERT_TRUE(host.startProcessing());
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    // Every event moves its control to the other end of its range.
    InputEventList automation;
    for (std::uint32_t i = 0; i < 32; ++i)
        automation.add(2 * i, i % 2 ? kCompression : kTime, (i / 2) % 2 ? 10.0 : 0.0);
    const std::function<void()> playback = [&] {
        Signal<float> audio = converted<float>(burstSignal(2, 64));
        while (!stop.load()) {
            processInPlace(host.plugin, audio, 0, 64, automation);
            ++blocks;
        }
    };
    host.audio.begin(playback);
    while (blocks.load() == 0) std::this_thread::yield();
    std::string wrong;
    int round = 0;
    for (; wrong.empty() && (round < 5000 || blocks.load() < 5000); ++round) {
        ASSERT_TRUE(loadState(host, states[round % 4]));
        wrong = programsNotAsLoaded(savedState(host), states[round % 4]);
    }
    stop = true;
    host.audio.finish();
    host.stopProcessing();
    EXPECT_EQ(wrong, "") << "after load " << round;
    EXPECT_EQ(programsNotAsLoaded(savedState(host), states[(round - 1) % 4]), "");
    EXPECT_NO_THREAD_VIOLATIONS(host);
}
