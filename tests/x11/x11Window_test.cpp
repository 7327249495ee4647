// The editor window's life in a real X server: invalid parents, the host
// destroying its window first, closing with the edit box or the menu open,
// two editors at once, drops, foreign threads, the desktop's double-click
// time, and 200 open/close cycles without growth.
#include <dirent.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "gui/CFrame.h"
#include "platform/input.h"
#include "platform/linux/x11Diagnostics.h"
#include "platform/linux/x11Input.h"
#include "platform/window.h"
#include "x11Fixture.h"

using namespace x11test;
namespace lb = platform::linux_backend;

namespace {

struct CountingEvents : platform::WindowEvents {
    void onPaint(platform::DrawDevice&, const platform::Rect&) override { ++paints; }
    void onButtonDown(platform::Point) override { ++presses; }
    void onWheel(platform::Point, int) override {}
    void onDestroyed() override { ++destroyed; }
    int paints = 0;
    int presses = 0;
    int destroyed = 0;
};

int openFileDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

}  // namespace

TEST_F(X11Test, ParentsThatAreNoWindowsFailCleanlyWithoutTouchingTheHostsHandler) {
    const int hostErrors = X11Driver::hostErrors();
    CountingEvents events;
    std::vector<unsigned char> zeroed(64, 0);
    // A pointer passed as the parent, no parent, a resource id nobody made.
    EXPECT_EQ(platform::createChildWindow(zeroed.data(), 400, 309, events), nullptr);
    EXPECT_EQ(platform::createChildWindow(nullptr, 400, 309, events), nullptr);
    EXPECT_EQ(platform::createChildWindow(asParent(0x1FFFFFF0u), 400, 309, events), nullptr);
    EXPECT_EQ(platform::createChildWindow(asParent(panel), 0, 309, events), nullptr);
    EXPECT_EQ(lb::openConnections(), 0);
    EXPECT_EQ(lb::liveTraps(), 0);
    EXPECT_TRUE(X11Driver::hostErrorHandlerInstalled());
    EXPECT_EQ(X11Driver::hostErrors(), hostErrors);
    // The toolkit's frame without a window stays closed and harmless.
    ASSERT_TRUE(editor->open(zeroed.data()));
    EXPECT_FALSE(editor->getFrame()->isOpen());
    editor->idle();
    editor->close();
}

TEST_F(X11Test, TheHostDestroyingItsWindowFirstIsSurvivedAndTrappedOnly) {
    openEditor();
    const int hostErrors = X11Driver::hostErrors();
    const long trappedBefore = lb::trappedErrors();
    driver->destroyWindow(top);
    // The host keeps idling for a while, the editor redraws, the pointer moves.
    editor->show(scene::State{1.0f, 0.9f, 3, "Gone"});
    idleFor(100);
    EXPECT_FALSE(editor->getFrame()->isOpen());
    platform::Window* window = editor->getFrame()->getPlatformWindow();
    (void)window->screenOrigin();
    (void)platform::input().buttonState();
    EXPECT_EQ(window->createDevice(), nullptr);
    editor->close();
    EXPECT_EQ(lb::openConnections(), 0);
    EXPECT_EQ(lb::liveTraps(), 0);
    EXPECT_TRUE(X11Driver::hostErrorHandlerInstalled()) << "the host's handler is back";
    EXPECT_EQ(X11Driver::hostErrors(), hostErrors) << "no error of ours reached the host";
    std::printf("errors trapped after the host's window went: %ld\n",
                lb::trappedErrors() - trappedBefore);
}

TEST_F(X11Test, ErrorsOfOurRequestsOnAVanishedWindowAreTrapped) {
    openEditor();
    const int hostErrors = X11Driver::hostErrors();
    const long trappedBefore = lb::trappedErrors();
    // The window goes, but the editor has not seen DestroyNotify yet: drawing
    // into it now makes the server answer BadDrawable/BadWindow.
    driver->destroyWindow(top);
    editor->getFrame()->setDirty(true);
    gui::CFrame* frame = editor->getFrame();
    {
        auto device = frame->getPlatformWindow()->createDevice();
        ASSERT_NE(device, nullptr);
        device->setBrush(platform::Colour{255, 0, 0, 255});
        device->fillRect(platform::Rect{0, 0, 50, 50});
    }
    EXPECT_GT(lb::trappedErrors(), trappedBefore);
    EXPECT_EQ(X11Driver::hostErrors(), hostErrors);
    EXPECT_TRUE(X11Driver::hostErrorHandlerInstalled());
    idleFor(60);
    EXPECT_FALSE(frame->isOpen());
}

TEST_F(X11Test, ClosingWithTheEditBoxOpenLeavesNothingBehind) {
    openEditor();
    const unsigned long plugin = pluginWindow();
    driver->click(screenX(scene::kFieldRect.left + 30), screenY(scene::kFieldRect.top + 10));
    idleFor(100);
    ASSERT_EQ(driver->children(plugin).size(), 1u);
    editor->close();
    driver->sync();
    EXPECT_FALSE(driver->exists(plugin));
    EXPECT_EQ(lb::openConnections(), 0);
    EXPECT_EQ(log.front(), "begin 43");
}

TEST_F(X11Test, TheMenuEndsWhenTheHostDestroysItsWindowMeanwhile) {
    openEditor();
    unsigned long popup = 0;
    whileIdling([&](X11Driver& hands) {
        hands.click(screenX(scene::kMenuRect.left + 20), screenY(scene::kMenuRect.top + 8));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        hands.destroyWindow(top);
    });
    ASSERT_NE(popup, 0u);
    EXPECT_EQ(driver->popup(), 0u);
    EXPECT_EQ(editor->changes, 0);
    editor->close();
    EXPECT_EQ(lb::openConnections(), 0);
}

TEST_F(X11Test, TwoEditorsWorkIndependently) {
    const unsigned long secondTop = driver->createTopLevel(600, 80, 420, 330, "Second host");
    scene::Log secondLog;
    auto* secondEffect = new scene::Effect(secondLog);
    auto* second = new scene::Editor(secondEffect, secondLog);
    openEditor();
    ASSERT_TRUE(second->open(asParent(secondTop)));
    for (int i = 0; i < 8; ++i) {
        editor->idle();
        second->idle();
        sleepMs(20);
    }
    EXPECT_EQ(lb::openConnections(), 2);
    // A click on the second editor's switch reaches the second editor only.
    driver->click(600 + scene::kSwitchRect.left + 95, 80 + scene::kSwitchRect.top + 30);
    for (int i = 0; i < 8; ++i) {
        editor->idle();
        second->idle();
        sleepMs(20);
    }
    EXPECT_EQ(second->switchControl->getValue(), 1.0f);
    EXPECT_TRUE(log.empty()) << "the first editor saw nothing";
    // Closing the first leaves the second working.
    editor->close();
    driver->click(600 + scene::kSwitchRect.left + 10, 80 + scene::kSwitchRect.top + 30);
    for (int i = 0; i < 8; ++i, sleepMs(20)) second->idle();
    EXPECT_EQ(second->switchControl->getValue(), 0.0f);
    second->close();
    delete secondEffect;
    driver->destroyWindow(secondTop);
    EXPECT_EQ(lb::openConnections(), 0);
}

TEST_F(X11Test, DropsAreAnsweredAndRefused) {
    openEditor();
    // The editor answers from its idle calls, which this thread keeps making.
    scene::State before = editor->state();
    std::atomic<bool> done{false};
    platform::linux_backend::testing::X11Driver::DropReplies seen;
    const unsigned long plugin = pluginWindow();
    std::thread dragger([&] {
        X11Driver own;
        seen = own.dropOnto(plugin, screenX(100), screenY(100));
        done = true;
    });
    while (!done) {
        editor->idle();
        sleepMs(10);
    }
    dragger.join();
    EXPECT_TRUE(seen.status) << "the position was answered";
    EXPECT_FALSE(seen.accepted);
    EXPECT_TRUE(seen.finished) << "the drop was answered";
    EXPECT_EQ(editor->state().text, before.text);
    EXPECT_TRUE(log.empty());
}

TEST_F(X11Test, OtherThreadsMakeNoXlibCallsAndOnlyMarkTheFrameDirty) {
    openEditor();
    const long refusedBefore = lb::offThreadCalls();
    platform::Window* window = editor->getFrame()->getPlatformWindow();
    std::thread automation([&] {
        // What a host's automation thread reaches through the editor.
        editor->knob->setValue(0.8f);
        editor->getFrame()->setDirty(true);
        // A stray call into the window from here is refused, not made.
        (void)window->screenOrigin();
        window->processEvents();
        EXPECT_EQ(window->createDevice(), nullptr);
    });
    automation.join();
    EXPECT_EQ(lb::offThreadCalls(), refusedBefore + 3);
    idleFor(60);
    EXPECT_TRUE(log.empty()) << "automation is not echoed as an edit";
    expectLooksLikeReference("automated");
}

TEST_F(X11Test, TheDoubleClickTimeComesFromTheDesktop) {
    lb::forgetDoubleClickTime();
    openEditor();
    EXPECT_EQ(platform::input().doubleClickTime(), 400);
    editor->close();
    driver->publishDoubleClickTime(250);
    lb::forgetDoubleClickTime();
    openEditor();
    EXPECT_EQ(platform::input().doubleClickTime(), 250);
    lb::forgetDoubleClickTime();
}

TEST_F(X11Test, TwoHundredOpenCloseCyclesLeaveTheServerAndTheProcessAsTheyWere) {
    // One cycle first, so that one-time set-up (fonts, caches) is not counted.
    openEditor();
    editor->close();
    driver->sync();
    const int clients = driver->clientCount();
    const long resources = driver->resourceTotal();
    const int descriptors = openFileDescriptors();
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_TRUE(editor->open(asParent(panel)));
        // The first paint, then one of a part, as when a control changes.
        for (int i = 0; i < 3; ++i) {
            editor->idle();
            editor->getFrame()->getPlatformWindow()->invalidate(platform::Rect{
                scene::kKnobRect.left, scene::kKnobRect.top, scene::kKnobRect.right,
                scene::kKnobRect.bottom});
            sleepMs(2);
        }
        editor->close();
    }
    driver->sync();
    sleepMs(100);
    EXPECT_EQ(driver->clientCount(), clients);
    EXPECT_EQ(driver->resourceTotal(), resources);
    EXPECT_EQ(openFileDescriptors(), descriptors);
    EXPECT_EQ(lb::openConnections(), 0);
    std::printf("after 200 cycles: %d clients, %ld resources, %d descriptors\n",
                driver->clientCount(), driver->resourceTotal(), openFileDescriptors());
}
