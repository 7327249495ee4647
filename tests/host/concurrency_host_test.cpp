// Two host threads setting the same parameter at the same moment, as a host's
// automation and the user's editor or a preset load may: whichever value
// wins, what the host reads back, the text it shows and what the engine does
// must all be that one value.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "TestHost.h"

using namespace vst2;

TEST(Concurrency, Vst2ParameterSetFromTwoThreadsIsNeverTorn) {
    ScratchConfigHome config;
    TestHost host;
    ASSERT_NE(host.open(), nullptr);
    host.dispatch(effOpen);
    // At 1 kHz a change crossfades over 15 samples, so the last of a block of
    // 16 is the engine's new setting alone.
    host.dispatch(effSetSampleRate, 0, 0, nullptr, 1000.0f);
    host.dispatch(effMainsChanged, 0, 1);

    // The window is a few instructions wide: half a million rounds catch it in
    // a plain build; under a sanitizer each round costs ten times as much.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    constexpr int kRounds = 50000;
#else
    constexpr int kRounds = 500000;
#endif
    std::atomic<int> round{0}, finished{0};
    auto writer = [&](float value) {
        for (int r = 1; r <= kRounds; ++r) {
            while (round.load(std::memory_order_acquire) < r) std::this_thread::yield();
            host.effect->setParameter(host.effect, 0, value);  // Process: Off or Valve
            host.effect->setParameter(host.effect, 2, value);  // Ratio: 1.2:1 or 10:1
            finished.fetch_add(1, std::memory_order_acq_rel);
        }
    };
    std::thread off(writer, 0.0f), valve(writer, 1.0f);

    int torn = 0;
    constexpr int kFrames = 16;
    float inL[kFrames], inR[kFrames], outL[kFrames], outR[kFrames];
    std::fill(inL, inL + kFrames, 0.5f);
    std::fill(inR, inR + kFrames, 0.5f);
    float* ins[2] = {inL, inR};
    float* outs[2] = {outL, outR};
    for (int r = 1; r <= kRounds; ++r) {
        round.store(r, std::memory_order_release);
        while (finished.load(std::memory_order_acquire) < 2 * r) std::this_thread::yield();
        const bool valveShown = host.effect->getParameter(host.effect, 0) == 1.0f;
        const bool tenToOne = host.effect->getParameter(host.effect, 2) == 1.0f;
        // Off copies the input untouched; Valve never gives it back exactly.
        host.effect->processReplacing(host.effect, ins, outs, kFrames);
        const bool engineOff = outL[kFrames - 1] == 0.5f && outR[kFrames - 1] == 0.5f;
        torn += host.text(effGetParamDisplay, 0) != (valveShown ? "Valve" : "Off") ||
                host.text(effGetParamDisplay, 2) != (tenToOne ? "10:1" : "1.2:1") ||
                engineOff == valveShown;
    }
    off.join();
    valve.join();
    EXPECT_EQ(torn, 0) << "rounds where the host, its display and the engine disagreed";
}
