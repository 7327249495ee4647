// The main thread's work while the audio thread processes: states loaded and
// saved, programs chosen, values read, as hosts do during playback. Run under
// ThreadSanitizer too (the tsan preset).
#include <atomic>
#include <cmath>
#include <thread>

#include "clapRender.h"
#include "clapTestSupport.h"

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
