// The CLAP editor in a real X server, hosted as CLAP hosts do it: the test
// host embeds it with set_parent, serves its X connection's descriptor and
// its timer from its own loop, and flushes when asked; a user's drag comes
// out as gesture begin, values and gesture end. Pictures are compared with
// the headless rendering of the editor.
#include <poll.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>

#include "clapRender.h"
#include "clapTestSupport.h"
#include "platform/linux/childProcess.h"
#include "platform/linux/testing/x11Driver.h"
#include "core/controls.h"

using platform::linux_backend::testing::Pixels;
using platform::linux_backend::testing::X11Driver;

namespace {

constexpr int kTopX = 60, kTopY = 50, kPanelX = 41, kPanelY = 27;

void sleepMs(int ms) { poll(nullptr, 0, ms); }

std::size_t threadCount() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n;
}

std::string shotPath(const std::string& name) {
    return std::string(KVBR_TEST_OUTPUT_DIR) + "/clap_editor_" + name + ".png";
}

class ClapEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (std::string(KVBR_TEST_OUTPUT_DIR) + "/clap-editor-config").c_str(), 1);
        unsetenv("KVBR_EDITOR_SCALE");
        driver = std::make_unique<X11Driver>();
        ASSERT_TRUE(driver->valid()) << "needs an X server with XTest and X-Resource ($DISPLAY)";
        top = driver->createTopLevel(kTopX, kTopY, 900, 700, "CLAP host");
        panel = driver->createChild(top, kPanelX, kPanelY, 820, 640);
        ASSERT_NE(host.create(library, kStereoId), nullptr);
        gui = host.extension<clapabi::PluginGui>(clapabi::kExtGui);
        timerSupport = host.extension<clapabi::PluginTimerSupport>(clapabi::kExtTimerSupport);
        fdSupport = host.extension<clapabi::PluginPosixFdSupport>(clapabi::kExtPosixFdSupport);
        ASSERT_TRUE(gui && timerSupport && fdSupport);
    }
    void TearDown() override {
        gui->destroy(host.plugin);
        EXPECT_TRUE(host.timers.empty()) << "timers left registered";
        EXPECT_TRUE(host.descriptors.empty()) << "descriptors left registered";
        EXPECT_NO_THREAD_VIOLATIONS(host);
        host.destroy();
        if (driver && driver->valid() && driver->exists(top)) driver->destroyWindow(top);
    }

    // The embedded call order; the editor's window is the panel's one child.
    void openEditor(double scale, std::uint32_t width, std::uint32_t height) {
        ASSERT_TRUE(gui->create(host.plugin, "x11", false));
        if (scale > 0) {
            ASSERT_TRUE(gui->setScale(host.plugin, scale));
        }
        EXPECT_FALSE(gui->canResize(host.plugin));
        std::uint32_t w = 0, h = 0;
        ASSERT_TRUE(gui->getSize(host.plugin, &w, &h));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
        clapabi::Window window{"x11", {nullptr}};
        window.x11 = panel;
        ASSERT_TRUE(gui->setParent(host.plugin, &window));
        ASSERT_TRUE(gui->show(host.plugin));
        loopFor(200);
        const auto inside = driver->children(panel);
        ASSERT_EQ(inside.size(), 1u);
        editorWindow = inside[0];
        const Pixels shot = driver->capture(editorWindow);
        EXPECT_EQ(shot.width, static_cast<int>(width));
        EXPECT_EQ(shot.height, static_cast<int>(height));
    }

    // One pass of the host's main loop: ready descriptors, due timers, and
    // the flush the plug-in asked for (on the audio thread while active).
    void loopOnce() {
        std::vector<pollfd> watched;
        for (const auto& [fd, flags] : host.descriptors)
            watched.push_back({fd, static_cast<short>(flags & clapabi::kFdRead ? POLLIN : 0), 0});
        poll(watched.data(), watched.size(), 0);
        for (const pollfd& p : watched)
            if (p.revents) {
                ++fdCalls;
                std::uint32_t flags = 0;
                if (p.revents & POLLIN) flags |= clapabi::kFdRead;
                if (p.revents & (POLLERR | POLLHUP)) flags |= clapabi::kFdError;
                fdSupport->onFd(host.plugin, p.fd, flags);
            }
        for (const auto& [id, period] : host.timers) EXPECT_EQ(period, 33u);
        if (timersRunning) host.fireTimers();
        host.serveFlush(active, sent);
    }
    void loopFor(int ms) {
        for (int waited = 0; waited < ms; waited += 20, sleepMs(20)) loopOnce();
    }
    void whileLooping(const std::function<void(X11Driver&)>& hands) {
        platform::linux_backend::testing::whileIdling([&] { loopOnce(); }, hands);
        loopFor(150);
    }
    int x(double editorX) const { return kTopX + kPanelX + static_cast<int>(editorX * scale); }
    int y(double editorY) const { return kTopY + kPanelY + static_cast<int>(editorY * scale); }
    void dragCompressionUp() {
        whileLooping([&](X11Driver& hands) {
            hands.moveTo(x(200), y(200));
            hands.press(1);
            for (int step = 1; step <= 6; ++step, sleepMs(30)) hands.moveTo(x(200), y(200 - 10 * step));
            sleepMs(200);
            hands.release(1);
        });
    }
    // What the user's drag sent: begin, at least one value, end, nothing else.
    void expectOneGestureOn(clapabi::Id id) {
        ASSERT_GE(sent.size(), 3u);
        EXPECT_EQ(sent.front(), "begin " + std::to_string(id));
        EXPECT_EQ(sent.back(), "end " + std::to_string(id));
        for (std::size_t i = 1; i + 1 < sent.size(); ++i)
            EXPECT_EQ(sent[i].rfind("value " + std::to_string(id) + " ", 0), 0u) << sent[i];
        // The last value sent is the plug-in's value now.
        char last[64];
        std::snprintf(last, sizeof last, "value %u %g", id, valueOf(host, id));
        EXPECT_EQ(sent[sent.size() - 2], last);
    }
    void expectLooksLike(const std::string& name, const std::vector<std::string>& extra) {
        driver->moveTo(5, 5);
        loopFor(150);
        const Pixels shot = driver->capture(editorWindow);
        ASSERT_TRUE(platform::linux_backend::testing::savePng(shot, shotPath(name)));
        std::vector<std::string> argv{KVBR_EDITOR_REFERENCE, shotPath(name + "_reference"), "--strip", "closed"};
        for (const controls::Control& c : std::span(controls::kControls).first(controls::kProgramCount)) {
            const double plain = valueOf(host, static_cast<clapabi::Id>(c.hostId));
            char value[48];
            std::snprintf(value, sizeof value, "%d=%.9g", c.parameter,
                          static_cast<double>(controls::normalisedOfStep(c, controls::stepOf(c, plain))));
            argv.insert(argv.end(), {"--param", value});
        }
        argv.insert(argv.end(), extra.begin(), extra.end());
        ASSERT_EQ(platform::linux_backend::runChild(argv, nullptr).exitCode, 0);
        Pixels expected;
        ASSERT_TRUE(platform::linux_backend::testing::loadPng(shotPath(name + "_reference"), expected));
        const long differing = platform::linux_backend::testing::differingPixels(shot, expected);
        std::printf("%s: %ld pixels differ from the headless rendering\n", name.c_str(), differing);
        EXPECT_EQ(differing, 0) << name << ": see " << shotPath(name);
    }

    ClapLibrary library;
    TestClapHost host;
    std::unique_ptr<X11Driver> driver;
    const clapabi::PluginGui* gui = nullptr;
    const clapabi::PluginTimerSupport* timerSupport = nullptr;
    const clapabi::PluginPosixFdSupport* fdSupport = nullptr;
    unsigned long top = 0, panel = 0, editorWindow = 0;
    double scale = 1.0;
    bool active = false;
    bool timersRunning = true;
    int fdCalls = 0;
    std::vector<std::string> sent;
};

}  // namespace

TEST_F(ClapEditorTest, ADragGoesOutAsOneGestureThroughTheHostsFlush) {
    const std::size_t threads = threadCount();
    openEditor(0.0, 400, 309);
    // The host watches the connection and ticks the timer; nothing else runs.
    EXPECT_EQ(host.descriptors.size(), 1u);
    EXPECT_EQ(host.descriptors.begin()->second, clapabi::kFdRead);
    EXPECT_EQ(host.timers.size(), 1u);
    EXPECT_EQ(threadCount(), threads) << "the editor started a thread";
    expectLooksLike("open", {});

    // With the timer held back, the descriptor alone brings a click on Clear.
    timersRunning = false;
    whileLooping([&](X11Driver& hands) { hands.click(x(315), y(85)); });
    timersRunning = true;
    EXPECT_GT(fdCalls, 0);
    EXPECT_EQ(valueOf(host, kProcess), 1.0);
    expectOneGestureOn(kProcess);

    sent.clear();
    dragCompressionUp();
    EXPECT_GT(valueOf(host, kCompression), 5.0);
    expectOneGestureOn(kCompression);
    EXPECT_GE(host.count("request_flush"), 1);
    EXPECT_EQ(threadCount(), threads);
    expectLooksLike("compression_raised", {});

    // Active: the host answers on its audio thread.
    ASSERT_TRUE(host.activate(48000));
    active = true;
    sent.clear();
    const double before = valueOf(host, kCompression);
    dragCompressionUp();
    EXPECT_GT(valueOf(host, kCompression), before);
    expectOneGestureOn(kCompression);
    host.deactivate();
}

// The tab opens the strip of settings: the host is asked for the taller
// size, the window grows and shows the strip, the project counts as edited
// and the saved state says so; loaded into the closed editor, it opens the
// strip again, and the tab closes it.
TEST_F(ClapEditorTest, TheTabOpensTheStripAndTheHostIsAskedForTheNewSize) {
    openEditor(0.0, 400, 309);
    host.clearCalls();
    whileLooping([&](X11Driver& hands) { hands.click(x(364), y(292)); });
    EXPECT_EQ(host.count("request_resize 400 389"), 1);
    EXPECT_GE(host.count("mark_dirty"), 1);
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->getSize(host.plugin, &w, &h));
    EXPECT_EQ(h, 389u);
    EXPECT_EQ(driver->capture(editorWindow).height, 389);
    expectLooksLike("strip_open", {"--strip", "open"});
    const std::vector<unsigned char> open = savedState(host);
    float strip = 0.0f;
    std::memcpy(&strip, open.data() + open.size() - 4, 4);
    EXPECT_EQ(strip, 1.0f) << "the last setting of the state";

    whileLooping([&](X11Driver& hands) { hands.click(x(364), y(292)); });
    EXPECT_EQ(host.count("request_resize 400 309"), 1);
    EXPECT_EQ(driver->capture(editorWindow).height, 309);
    gui->destroy(host.plugin);
    ASSERT_TRUE(loadState(host, open));
    openEditor(0.0, 400, 389);
    expectLooksLike("strip_reopened", {"--strip", "open"});
}

TEST_F(ClapEditorTest, TheHostsChangesMoveTheControlsAndTheMeterFollowsTheAudio) {
    openEditor(0.0, 400, 309);
    ASSERT_TRUE(host.activate(48000));
    // Automation on the audio thread, in the middle of a block.
    const Signal<float> in = converted<float>(burstSignal(2, 24000));
    renderClap(host, in, {512}, {{100, kCompression, 2.5}, {100, kRatio, 6.0}, {100, kProcess, 1.0}});
    // One more block, and the reading the host's meter extension gives for it.
    const auto* meter = host.extension<clapabi::PluginGainAdjustmentMetering>(clapabi::kExtGainAdjustmentMetering);
    host.startProcessing();
    double decibels = 0.0;
    Signal<float> last = in;
    host.audio.run([&] {
        processInPlace(host.plugin, last, 0, 512, InputEventList());
        decibels = meter->get(host.plugin);
    });
    host.stopProcessing();
    EXPECT_LT(decibels, -1.0);
    // The needle settles on the last reading.
    loopFor(1500);
    char reading[32];
    std::snprintf(reading, sizeof reading, "%.9g", std::pow(10.0, decibels / 20.0));
    expectLooksLike("automated", {"--meter", reading});
    EXPECT_TRUE(sent.empty()) << "the host's own changes came back";
    host.deactivate();
}

TEST_F(ClapEditorTest, RenamingAProgramMarksTheProjectEdited) {
    openEditor(0.0, 400, 309);
    host.clearCalls();
    whileLooping([&](X11Driver& hands) {
        const unsigned long before = hands.inputFocus();
        hands.click(x(194), y(292));
        // Typing starts once the name field has the keyboard.
        for (int i = 0; i < 100 && hands.inputFocus() == before; ++i) sleepMs(20);
        sleepMs(50);
        hands.type("My Mix");
        hands.key("Return");
    });
    EXPECT_GE(host.count("mark_dirty"), 1);
    const std::vector<unsigned char> state = savedState(host);
    const std::string bank(state.begin(), state.end());
    EXPECT_NE(bank.find("My Mix"), std::string::npos) << "the name is in the saved state";
}

TEST_F(ClapEditorTest, AtScaleTwoTheEditorIsTwiceTheSizeAndStillSendsGestures) {
    scale = 2.0;
    openEditor(2.0, 800, 618);
    // A scale while open is for the next opening.
    EXPECT_FALSE(gui->setScale(host.plugin, 1.0));
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->getSize(host.plugin, &w, &h));
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 618u);
    expectLooksLike("scale2", {"--scale", "2"});
    dragCompressionUp();
    EXPECT_GT(valueOf(host, kCompression), 5.0);
    expectOneGestureOn(kCompression);
}

TEST_F(ClapEditorTest, TwoHundredCreateDestroyCyclesLeaveTheServerAsItWas) {
    openEditor(0.0, 400, 309);
    gui->destroy(host.plugin);
    driver->sync();
    const int clients = driver->clientCount();
    const long resources = driver->resourceTotal();
    const std::size_t threads = threadCount();
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_TRUE(gui->create(host.plugin, "x11", false));
        // Opening at 2x draws the large pictures: a few of those.
        if (cycle % 20 == 1) {
            ASSERT_TRUE(gui->setScale(host.plugin, 2.0));
        }
        clapabi::Window window{"x11", {nullptr}};
        window.x11 = panel;
        ASSERT_TRUE(gui->setParent(host.plugin, &window));
        ASSERT_TRUE(gui->show(host.plugin));
        loopOnce();
        if (cycle % 3 == 0) {
            ASSERT_TRUE(gui->hide(host.plugin));
        }
        gui->destroy(host.plugin);
        ASSERT_TRUE(host.timers.empty() && host.descriptors.empty()) << "cycle " << cycle;
    }
    driver->sync();
    sleepMs(100);
    EXPECT_EQ(driver->clientCount(), clients);
    EXPECT_EQ(driver->resourceTotal(), resources);
    EXPECT_TRUE(driver->children(panel).empty());
    EXPECT_EQ(threadCount(), threads);
}
