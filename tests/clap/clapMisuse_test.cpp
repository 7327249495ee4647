// A host that calls out of order, sends what it should not, or offers
// nothing: each gets a refusal or a clamp, and the plug-in keeps working.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "clapRender.h"
#include "clapTestSupport.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One block of 256 frames on the audio thread; the answer and the output.
struct Block {
    clapabi::ProcessStatus status = -1;
    Signal<float> out = Signal<float>(2, std::vector<float>(256, 0.5f));
};

Block processOnce(TestClapHost& host, const InputEventList* events = nullptr) {
    Block block;
    Signal<float> in = converted<float>(burstSignal(2, 256));
    host.audio.run([&] {
        float* ins[2] = {in[0].data(), in[1].data()};
        float* outs[2] = {block.out[0].data(), block.out[1].data()};
        clapabi::AudioBuffer input{ins, nullptr, 2, 0, 0}, output{outs, nullptr, 2, 0, 0};
        InputEventList none;
        OutputEventList sent;
        clapabi::Process process{-1, 256, nullptr, &input, &output, 1, 1,
                                 (events ? events : &none)->list(), sent.list()};
        block.status = host.plugin->process(host.plugin, &process);
    });
    return block;
}

bool silent(const Signal<float>& signal) {
    for (const auto& channel : signal)
        for (float x : channel)
            if (x != 0.0f) return false;
    return true;
}

}  // namespace

TEST(ClapMisuse, CallsOutOfOrderAreRefused) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    // Before activate: no processing, silence.
    EXPECT_FALSE(host.startProcessing());
    Block early = processOnce(host);
    EXPECT_EQ(early.status, clapabi::kProcessError);
    EXPECT_TRUE(silent(early.out));
    host.audio.run([&] { host.plugin->reset(host.plugin); });
    host.deactivate();

    ASSERT_TRUE(host.activate(48000));
    EXPECT_FALSE(host.activate(44100)) << "activated twice";
    // Active but not processing: still no processing.
    EXPECT_EQ(processOnce(host).status, clapabi::kProcessError);
    ASSERT_TRUE(host.startProcessing());
    EXPECT_TRUE(host.startProcessing()) << "a second start changes nothing";
    // Deactivating while processing is refused: processing goes on.
    host.deactivate();
    Block during = processOnce(host);
    EXPECT_EQ(during.status, clapabi::kProcessContinue);
    EXPECT_FALSE(silent(during.out));
    EXPECT_GE(host.count("log 5 deactivate: still processing; ignored"), 1);
    host.stopProcessing();
    host.stopProcessing();
    host.deactivate();
    EXPECT_EQ(processOnce(host).status, clapabi::kProcessError);
    // And the life cycle starts over cleanly.
    ASSERT_TRUE(host.activate(44100));
    ASSERT_TRUE(host.startProcessing());
    EXPECT_EQ(processOnce(host).status, clapabi::kProcessContinue);
    EXPECT_NO_THREAD_VIOLATIONS(host);
    // Destroyed while active and processing: the host's destroy stops first.
}

TEST(ClapMisuse, RatesAndBlockSizesThatAreNoneAreRefused) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kMonoId), nullptr);
    const double inf = std::numeric_limits<double>::infinity();
    for (double rate : {0.0, -48000.0, kNaN, inf, -inf}) EXPECT_FALSE(host.activate(rate)) << rate;
    EXPECT_FALSE(host.activate(48000, 1, 0));
    EXPECT_FALSE(host.activate(48000, 64, 32));
    EXPECT_FALSE(host.activate(48000, 1, 0x80000000u));
    // A rate the engine was not made for works, as in the VST 2.x plug-in.
    EXPECT_TRUE(host.activate(1e9, 1, 512));
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapMisuse, BuffersThatDoNotFitGiveSilenceAndAnError) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    ASSERT_TRUE(host.activate(48000));
    ASSERT_TRUE(host.startProcessing());
    std::vector<float> left(64, 0.5f), right(64, 0.5f), outL(64, 0.5f), outR(64, 0.5f);
    std::vector<double> wide(64, 0.5);
    float* ins[2] = {left.data(), right.data()};
    float* outs[2] = {outL.data(), outR.data()};
    float* missing[2] = {outL.data(), nullptr};
    double* wides[2] = {wide.data(), wide.data()};
    struct Case {
        const char* what;
        clapabi::AudioBuffer input, output;
        std::uint32_t inputs, outputs;
    } cases[] = {
        {"one channel on a stereo port", {ins, nullptr, 1, 0, 0}, {outs, nullptr, 2, 0, 0}, 1, 1},
        {"no buffers at all", {nullptr, nullptr, 2, 0, 0}, {outs, nullptr, 2, 0, 0}, 1, 1},
        {"a missing channel", {ins, nullptr, 2, 0, 0}, {missing, nullptr, 2, 0, 0}, 1, 1},
        {"64 bits in, 32 out", {nullptr, wides, 2, 0, 0}, {outs, nullptr, 2, 0, 0}, 1, 1},
        // Nothing the host gave is an output: nothing is written.
        {"no ports", {ins, nullptr, 2, 0, 0}, {outs, nullptr, 2, 0, 0}, 0, 0},
    };
    for (Case& c : cases) {
        std::fill(outL.begin(), outL.end(), 0.5f);
        InputEventList events;
        events.add(10, kTime, 2.5);
        OutputEventList sent;
        clapabi::ProcessStatus status = -1;
        host.audio.run([&] {
            clapabi::Process process{0, 64, nullptr, &c.input, &c.output, c.inputs, c.outputs,
                                     events.list(), sent.list()};
            status = host.plugin->process(host.plugin, &process);
        });
        EXPECT_EQ(status, clapabi::kProcessError) << c.what;
        EXPECT_EQ(outL, std::vector<float>(64, c.outputs ? 0.0f : 0.5f)) << c.what;
    }
    host.stopProcessing();
    // The values in those blocks were taken all the same.
    EXPECT_EQ(valueOf(host, kTime), 2.5);
    host.audio.run([&] { EXPECT_EQ(host.plugin->process(host.plugin, nullptr), clapabi::kProcessError); });
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapMisuse, AHostWithoutExtensionsStillGetsAWorkingPlugin) {
    ClapLibrary library;
    TestClapHost host(0);
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    // Scanning hosts offer nothing and still learn that there is an editor.
    const auto* gui = host.extension<clapabi::PluginGui>(clapabi::kExtGui);
    EXPECT_TRUE(gui->isApiSupported(host.plugin, nativeEditorApi(), false));
    // Without timer support nothing would redraw it: no editor.
    EXPECT_FALSE(gui->create(host.plugin, nativeEditorApi(), false));
    std::uint32_t w = 0, h = 0;
    EXPECT_FALSE(gui->getSize(host.plugin, &w, &h));
    EXPECT_FALSE(gui->show(host.plugin));
    gui->destroy(host.plugin);
    // Everything else works.
    flushValues(host, {{kOutput, 6.0}});
    EXPECT_EQ(valueOf(host, kOutput), 6.0);
    const std::vector<unsigned char> state = savedState(host);
    EXPECT_TRUE(loadState(host, state));
    ASSERT_TRUE(host.activate(48000));
    ASSERT_TRUE(host.startProcessing());
    EXPECT_EQ(processOnce(host).status, clapabi::kProcessContinue);
    const auto* presets = host.extension<clapabi::PluginPresetLoad>(clapabi::kExtPresetLoad);
    EXPECT_TRUE(presets->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, "3"));
    EXPECT_FALSE(presets->fromLocation(host.plugin, clapabi::kPresetLocationPlugin, nullptr, "33"));
    EXPECT_TRUE(host.calls().empty()) << "called a host function it was not given";
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapMisuse, AHostWhoseTimerIsRefusedGetsNoRedrawsButNoFailure) {
    ClapLibrary library;
    TestClapHost host;
    host.refuseTimers = true;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const auto* gui = host.extension<clapabi::PluginGui>(clapabi::kExtGui);
    EXPECT_FALSE(gui->create(host.plugin, nativeEditorApi(), true)) << "floating";
    EXPECT_FALSE(gui->create(host.plugin, "wayland", false));
    ASSERT_TRUE(gui->create(host.plugin, nativeEditorApi(), false));
    EXPECT_FALSE(gui->create(host.plugin, nativeEditorApi(), false)) << "a second create";
    EXPECT_FALSE(gui->setScale(host.plugin, 0.0));
    EXPECT_FALSE(gui->setScale(host.plugin, kNaN));
    EXPECT_FALSE(gui->setScale(host.plugin, -2.0));
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->getSize(host.plugin, &w, &h));
    EXPECT_TRUE(gui->setSize(host.plugin, w, h));
    clapabi::GuiResizeHints hints{true, true, false, 0, 0};
    ASSERT_TRUE(gui->getResizeHints(host.plugin, &hints));
    EXPECT_FALSE(hints.canResizeHorizontally || hints.canResizeVertically);
    EXPECT_EQ(hints.aspectRatioWidth, w);
    EXPECT_FALSE(gui->getResizeHints(host.plugin, nullptr));
    EXPECT_FALSE(gui->setSize(host.plugin, w + 1, h));
    EXPECT_FALSE(gui->setTransient(host.plugin, nullptr));
    // Parents that are none, or of another system.
    EXPECT_FALSE(gui->setParent(host.plugin, nullptr));
    clapabi::Window foreign{"cocoa", {nullptr}};
    EXPECT_FALSE(gui->setParent(host.plugin, &foreign));
    clapabi::Window none{nativeEditorApi(), {nullptr}};
    EXPECT_FALSE(gui->setParent(host.plugin, &none));
    gui->destroy(host.plugin);
    gui->destroy(host.plugin);
    EXPECT_TRUE(host.timers.empty());
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

namespace {

void askForAborts() {
#if defined(_WIN32)
    _putenv_s("KVBR_THREAD_CHECK", "abort");
#else
    setenv("KVBR_THREAD_CHECK", "abort", 1);
#endif
}

}  // namespace

// Builds with thread checks (debug builds) ask the host's thread-check at
// every entry point and report a call on the wrong thread to the host's log.
TEST(ClapMisuse, CallsOnTheWrongThreadAreLoggedWhereThreadsAreChecked) {
#if defined(NDEBUG) && !defined(KVBR_THREAD_CHECKS)
    GTEST_SKIP() << "thread checks are compiled out of this build";
#endif
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    // On their threads: nothing to report. Flush is the main thread's while inactive.
    valueOf(host, kTime);
    flushValues(host, {{kTime, 2.5}});
    EXPECT_EQ(host.calls(), std::vector<std::string>{});
    host.denyMainThread = true;
    valueOf(host, kTime);
    host.denyMainThread = false;
    // Active, flush is the audio thread's.
    ASSERT_TRUE(host.activate(48000));
    flushValues(host, {{kTime, 3.0}});
    EXPECT_EQ(host.calls(), (std::vector<std::string>{"log 5 params.get_value: called off the main thread",
                                                      "log 5 params.flush: called off the audio thread"}));
    // Asked to, the check stops the process (a child run apart from the host's audio thread).
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            askForAborts();
            flushValues(host, {{kTime, 3.5}});
        },
        "");
    EXPECT_NO_THREAD_VIOLATIONS(host);
}
