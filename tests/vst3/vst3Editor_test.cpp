// The VST 3 editor in a real X server: the view attached to a host window,
// driven only by a run loop of the test's own (the registered descriptor
// polled, the registered timer fired), knobs dragged with XTest and the
// edits seen at the component handler, host changes shown, at 1x and 2x.
#include <dirent.h>
#include <poll.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

#include "platform/linux/testing/x11Driver.h"
#include "formats/vst3/abi/view.h"
#include "vst3TestHost.h"

using platform::linux_backend::testing::Pixels;
using platform::linux_backend::testing::X11Driver;
using namespace vst3test;

namespace {

constexpr int kTopX = 60, kTopY = 50, kPanelX = 41, kPanelY = 27;

void sleepMs(int ms) { poll(nullptr, 0, ms); }

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

// The host's frame around the view, offering the run loop as Linux hosts do.
class HostFrame final : public Held<IPlugFrame, IRunLoop> {
public:
    tresult KVBR_VST3_CALL queryInterface(const Uid& iid, void** obj) override {
        return answerQuery<HostFrame, IPlugFrame, IRunLoop>(this, iid, obj);
    }
    tresult KVBR_VST3_CALL resizeView(IPlugView* view, ViewRect* size) override {
        if (!view || !size) return kInvalidArgument;
        resized.push_back(*size);
        return view->onSize(size);
    }
    tresult KVBR_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) override {
        if (!handler || fd < 0) return kInvalidArgument;
        handler->addRef();
        events.push_back({handler, fd});
        return kResultOk;
    }
    tresult KVBR_VST3_CALL unregisterEventHandler(IEventHandler* handler) override {
        for (auto it = events.begin(); it != events.end(); ++it)
            if (it->first == handler) {
                handler->release();
                events.erase(it);
                return kResultOk;
            }
        return kInvalidArgument;
    }
    tresult KVBR_VST3_CALL registerTimer(ITimerHandler* handler, uint64 milliseconds) override {
        if (!handler || milliseconds == 0) return kInvalidArgument;
        handler->addRef();
        timers.push_back({handler, milliseconds});
        return kResultOk;
    }
    tresult KVBR_VST3_CALL unregisterTimer(ITimerHandler* handler) override {
        for (auto it = timers.begin(); it != timers.end(); ++it)
            if (it->first == handler) {
                handler->release();
                timers.erase(it);
                return kResultOk;
            }
        return kInvalidArgument;
    }
    // One turn of the loop: the handlers of readable descriptors, then the
    // timers that are due.
    void turn() {
        for (auto [handler, fd] : std::vector(events)) {
            pollfd waiting{fd, POLLIN, 0};
            if (poll(&waiting, 1, 0) > 0) handler->onFDIsSet(fd);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextTick) {
            for (auto [handler, ms] : std::vector(timers)) handler->onTimer();
            nextTick = now + std::chrono::milliseconds(timers.empty() ? 30 : timers.front().second);
        }
    }
    void runFor(int ms) {
        for (int waited = 0; waited < ms; waited += 10, sleepMs(10)) turn();
    }
    std::vector<std::pair<IEventHandler*, int>> events;
    std::vector<std::pair<ITimerHandler*, uint64>> timers;
    std::vector<ViewRect> resized;

private:
    std::chrono::steady_clock::time_point nextTick{};
};

class Vst3EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_unique<X11Driver>();
        ASSERT_TRUE(driver->valid()) << "needs an X server with XTest and X-Resource ($DISPLAY)";
        top = driver->createTopLevel(kTopX, kTopY, 900, 700, "VST 3 host");
        panel = driver->createChild(top, kPanelX, kPanelY, 820, 640);
        module = std::make_unique<Module>();
        ASSERT_TRUE(module->valid()) << module->error;
        plugin = std::make_unique<Instance>(*module);
        ASSERT_TRUE(plugin->valid());
    }
    void TearDown() override {
        if (view) closeView();
        plugin.reset();
        module.reset();
        if (driver && driver->valid() && driver->exists(top)) driver->destroyWindow(top);
    }
    // createView, setFrame, the scale (0: none), getSize, attached: as hosts order them.
    void openView(float scale, int width, int height) {
        view = plugin->controller->createView("editor");
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->setFrame(&frame), kResultOk);
        if (scale > 0) {
            void* support = nullptr;
            ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, &support), kResultOk);
            EXPECT_EQ(static_cast<IPlugViewContentScaleSupport*>(support)->setContentScaleFactor(scale), kResultTrue);
            static_cast<FUnknown*>(support)->release();
        }
        ASSERT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
        EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
        ViewRect size{};
        ASSERT_EQ(view->getSize(&size), kResultOk);
        EXPECT_EQ(size.right - size.left, width);
        EXPECT_EQ(size.bottom - size.top, height);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(panel)), "X11EmbedWindowID"),
                  kResultOk);
        // The editor registered its connection's descriptor and one timer.
        ASSERT_EQ(frame.events.size(), 1u);
        ASSERT_EQ(frame.timers.size(), 1u);
        EXPECT_GE(frame.timers[0].second, 16u);
        EXPECT_LE(frame.timers[0].second, 33u);
        frame.runFor(200);
        const auto inside = driver->children(panel);
        ASSERT_EQ(inside.size(), 1u);
        editorWindow = inside[0];
        const Pixels shown = driver->capture(editorWindow);
        EXPECT_EQ(shown.width, width);
        EXPECT_EQ(shown.height, height);
    }
    void closeView() {
        EXPECT_EQ(view->removed(), kResultOk);
        EXPECT_TRUE(frame.events.empty());
        EXPECT_TRUE(frame.timers.empty());
        view->setFrame(nullptr);
        EXPECT_EQ(view->release(), 0u);
        view = nullptr;
        EXPECT_EQ(frame.held(), 0);
    }
    int x(int editorX) const { return kTopX + kPanelX + editorX; }
    int y(int editorY) const { return kTopY + kPanelY + editorY; }
    // The user's hands on a thread of their own while the run loop turns.
    void whileTurning(const std::function<void(X11Driver&)>& hands) {
        platform::linux_backend::testing::whileIdling([&] { frame.turn(); }, hands);
        frame.runFor(150);
    }
    void dragUp(int fromX, int fromY, int step) {
        whileTurning([&](X11Driver& hands) {
            hands.moveTo(x(fromX), y(fromY));
            hands.press(1);
            for (int i = 1; i <= 6; ++i, sleepMs(30)) hands.moveTo(x(fromX), y(fromY - step * i));
            sleepMs(200);
            hands.release(1);
        });
    }
    // The edits for one parameter, in order, without their values.
    std::vector<std::string> gestureOf(ParamID id) const {
        std::vector<std::string> seen;
        const std::string number = std::to_string(id);
        for (const std::string& entry : plugin->handler.log) {
            const size_t space = entry.find(' ');
            const std::string verb = entry.substr(0, space);
            const std::string rest = space == std::string::npos ? std::string() : entry.substr(space + 1);
            if (rest != number && rest.rfind(number + " ", 0) != 0) continue;
            if (verb == "begin" || verb == "end" || (verb == "perform" && (seen.empty() || seen.back() != verb)))
                seen.push_back(verb);
        }
        return seen;
    }
    long changedPixels(const Pixels& before) {
        frame.runFor(300);
        driver->moveTo(5, 5);
        return platform::linux_backend::testing::differingPixels(before, driver->capture(editorWindow));
    }

    std::unique_ptr<X11Driver> driver;
    std::unique_ptr<Module> module;
    std::unique_ptr<Instance> plugin;
    HostFrame frame;
    IPlugView* view = nullptr;
    unsigned long top = 0, panel = 0, editorWindow = 0;
};

}  // namespace

TEST_F(Vst3EditorTest, AKnobDragReachesTheHostAsOneEditGesture) {
    openView(0, 400, 309);
    dragUp(200, 200, 10);
    EXPECT_EQ(gestureOf(5), (std::vector<std::string>{"begin", "perform", "end"}));
    const double dragged = plugin->handler.lastPerformed(5);
    EXPECT_GT(dragged, 0.5);
    EXPECT_EQ(plugin->controller->getParamNormalized(5), dragged);
    EXPECT_EQ(dragged * 40, std::floor(dragged * 40)) << "a step of the control";
    // Nothing else was edited.
    EXPECT_TRUE(gestureOf(4).empty());
    EXPECT_TRUE(gestureOf(kProgramId).empty());
}

TEST_F(Vst3EditorTest, HostChangesMoveTheKnobsAndTheMeterWithoutEchoes) {
    openView(0, 400, 309);
    driver->moveTo(5, 5);
    frame.runFor(200);
    const Pixels atRest = driver->capture(editorWindow);
    ASSERT_EQ(plugin->controller->setParamNormalized(4, 1.0), kResultOk);
    EXPECT_GT(changedPixels(atRest), 100);
    ASSERT_EQ(plugin->controller->setParamNormalized(4, 0.5), kResultOk);
    EXPECT_EQ(changedPixels(atRest), 0) << "the knob shows its old frame again";
    // A program chosen in the host: the knobs follow, and the host is asked
    // to read the values again at the editor's next tick, outside its call.
    ASSERT_EQ(plugin->controller->setParamNormalized(kProgramId, 12.0 / 32), kResultOk);
    EXPECT_FALSE(plugin->handler.saw("restart 4"));
    EXPECT_GT(changedPixels(atRest), 100);
    EXPECT_TRUE(plugin->handler.saw("restart 4"));
    // The meter's value from the host moves the needle.
    const Pixels beforeMeter = driver->capture(editorWindow);
    ASSERT_EQ(plugin->controller->setParamNormalized(kGainReductionId, 0.5), kResultOk);
    EXPECT_GT(changedPixels(beforeMeter), 50);
    EXPECT_TRUE(plugin->handler.performed.empty());
}

TEST_F(Vst3EditorTest, TheProgramMenuAndTheNameFieldWorkOnTheInstancesBank) {
    openView(0, 400, 309);
    // A program from the panel's list: one edit of the program parameter.
    unsigned long popup = 0;
    whileTurning([&](X11Driver& hands) {
        hands.click(x(259), y(292));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        if (!popup) return;
        sleepMs(150);
        const auto at = hands.screenOrigin(popup);
        hands.click(at.x + 40, at.y + 2 + 20 + 9 + 3 * 20 + 10);  // slot 4
    });
    ASSERT_NE(popup, 0u) << "no pop-up menu appeared";
    EXPECT_EQ(gestureOf(kProgramId), (std::vector<std::string>{"begin", "perform", "end"}));
    EXPECT_EQ(plugin->handler.lastPerformed(kProgramId), 4.0 / 32);
    // A new name: the processor's bank, the one the host saves, has it.
    whileTurning([&](X11Driver& hands) {
        hands.click(x(194), y(292));
        sleepMs(200);
        hands.type("My Mix");
        hands.key("Return");
    });
    const std::vector<unsigned char> state = plugin->saveState();
    ASSERT_GT(state.size(), 12u + 5 + 72 * 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(state.data() + 12 + 5 + 72 * 4)), "My Mix");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(state.data() + 12 + 5)), "My Mix");
    EXPECT_EQ(plugin->toProcessor.forwarded.back(), "KorvaneBrassel.bank");
    EXPECT_TRUE(plugin->handler.saw("programs 1001 -1"));
    EXPECT_TRUE(plugin->handler.saw("dirty 1"));
    String128 name{};
    plugin->units->getProgramName(kProgramId, 4, name);
    EXPECT_EQ(name[0], u'M');
}

TEST_F(Vst3EditorTest, AtTwiceTheScaleTheViewIs800By618AndDragsWork) {
    openView(2.0f, 800, 618);
    dragUp(400, 400, 20);
    EXPECT_EQ(gestureOf(5), (std::vector<std::string>{"begin", "perform", "end"}));
    EXPECT_GT(plugin->handler.lastPerformed(5), 0.5);
    // Back to 1x while open: the view asks the host for the smaller size.
    void* support = nullptr;
    ASSERT_EQ(view->queryInterface(IPlugViewContentScaleSupport::iid, &support), kResultOk);
    EXPECT_EQ(static_cast<IPlugViewContentScaleSupport*>(support)->setContentScaleFactor(1.0f), kResultTrue);
    static_cast<FUnknown*>(support)->release();
    ASSERT_FALSE(frame.resized.empty());
    EXPECT_EQ(frame.resized.back().right, 400);
    EXPECT_EQ(frame.resized.back().bottom, 309);
    frame.runFor(200);
    const auto inside = driver->children(panel);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(driver->capture(inside[0]).width, 400);
    editorWindow = inside[0];
}

// The tab opens the strip: the view asks the host for the taller size, the
// strip's Mix knob edits parameter 1004 as one gesture, the controller's
// state keeps the strip open, and the next view opens with it.
TEST_F(Vst3EditorTest, TheTabOpensTheStripAndTheHostResizesTheView) {
    openView(0, 400, 309);
    whileTurning([&](X11Driver& hands) { hands.click(x(364), y(292)); });
    ASSERT_FALSE(frame.resized.empty());
    EXPECT_EQ(frame.resized.back().right, 400);
    EXPECT_EQ(frame.resized.back().bottom, 389);
    EXPECT_EQ(driver->capture(editorWindow).height, 389);
    dragUp(52, 350, -10);
    EXPECT_EQ(gestureOf(1004), (std::vector<std::string>{"begin", "perform", "end"}));
    EXPECT_LT(plugin->handler.lastPerformed(1004), 1.0) << "dragged down from 100 %";
    MemoryStream saved;
    ASSERT_EQ(plugin->controller->getState(&saved), kResultOk);
    EXPECT_EQ(saved.bytes, (std::vector<unsigned char>{'K', 'v', 'B', 'E', 1}));
    closeView();
    openView(0, 400, 389);
}

TEST_F(Vst3EditorTest, TwoHundredOpenCloseCyclesLeaveNothingBehind) {
    openView(0, 400, 309);
    closeView();
    driver->sync();
    const int clients = driver->clientCount();
    const long resources = driver->resourceTotal();
    const int descriptors = openDescriptors();
    for (int cycle = 0; cycle < 200; ++cycle) {
        IPlugView* cycling = plugin->controller->createView("editor");
        ASSERT_NE(cycling, nullptr);
        cycling->setFrame(&frame);
        ASSERT_EQ(cycling->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(panel)), "X11EmbedWindowID"),
                  kResultOk);
        frame.turn();
        frame.turn();
        ASSERT_EQ(cycling->removed(), kResultOk);
        cycling->setFrame(nullptr);
        ASSERT_EQ(cycling->release(), 0u);
    }
    driver->sync();
    sleepMs(100);
    EXPECT_EQ(driver->clientCount(), clients);
    EXPECT_EQ(driver->resourceTotal(), resources);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(frame.held(), 0);
    EXPECT_TRUE(frame.events.empty() && frame.timers.empty());
    std::printf("after 200 cycles: %d clients, %ld resources, %d descriptors\n", clients, resources, descriptors);
}

TEST_F(Vst3EditorTest, OneEditorAtATimeAndTheControllerMayGoFirst) {
    openView(0, 400, 309);
    IPlugView* second = plugin->controller->createView("editor");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(panel)), "X11EmbedWindowID"),
              kResultFalse);
    EXPECT_EQ(second->attached(nullptr, "X11EmbedWindowID"), kInvalidArgument);
    EXPECT_EQ(second->removed(), kResultFalse);
    second->release();
    // The controller terminated under an open view: the editor closes, the
    // view stays harmless until the host lets it go.
    plugin->controller->terminate();
    EXPECT_TRUE(driver->children(panel).empty() || !driver->viewable(editorWindow));
    EXPECT_TRUE(frame.events.empty());
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(view->removed(), kResultFalse);
    view->setFrame(nullptr);
    EXPECT_EQ(view->release(), 0u);
    view = nullptr;
}
