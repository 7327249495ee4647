// The audio thread, an automation thread and a meter reader at once. Under the
// tsan preset ThreadSanitizer reports any data race among them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "engineHarness.h"

using namespace harness;

TEST(Concurrency, ProcessingAutomationAndMeterReadingTogether) {
    auto e = makeEffect();
    std::atomic<bool> done{false};
    std::atomic<long> automations{0}, readings{0};

    std::thread automation([&] {
        float v = 0.0f;
        while (!done.load()) {
            for (int i = 0; i < 12; ++i) e->setParameter(i, v);
            v = v >= 1.0f ? 0.0f : v + 0.013f;
            automations.fetch_add(1);
        }
    });
    std::thread meter([&] {
        double sum = 0;
        while (!done.load()) {
            sum += e->getMeterReading();
            readings.fetch_add(1);
        }
        EXPECT_TRUE(std::isfinite(sum));
    });

    Buffers<float> f(256);
    Buffers<double> d(256);
    long t = 0;
    // At least 400 blocks, and on until both other threads have run: on a busy
    // machine they may not be scheduled at all within the first few milliseconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int block = 0; block < 400 || ((automations.load() == 0 || readings.load() == 0) &&
                                        std::chrono::steady_clock::now() < deadline);
         ++block) {
        for (int i = 0; i < 256; ++i, ++t) {
            f.inL[i] = f.inR[i] = static_cast<float>(sine(t, 440.0, 44100.0, 0.7));
            d.inL[i] = d.inR[i] = f.inL[i];
        }
        e->processReplacing(f.inputs(), f.outputs(), 256);
        e->processDoubleReplacing(d.inputs(), d.outputs(), 256);
        for (int i = 0; i < 256; ++i) ASSERT_TRUE(std::isfinite(f.outL[i]) && std::isfinite(d.outR[i]));
    }
    done = true;
    automation.join();
    meter.join();
    EXPECT_GT(automations.load(), 0);
    EXPECT_GT(readings.load(), 0);
}
