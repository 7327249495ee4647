// The plug-in itself in a real X server: build/korvane-brassel.so loaded
// through VSTPluginMain as a host loads it, its editor opened in a host
// window, driven with the real pointer and keyboard, and every step compared
// with the headless rendering of the same state.
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "../host/TestHost.h"
#include "platform/linux/childProcess.h"
#include "platform/linux/testing/x11Driver.h"

using platform::linux_backend::testing::Pixels;
using platform::linux_backend::testing::X11Driver;
using namespace vst2;

namespace {

constexpr int kTopX = 60;
constexpr int kTopY = 50;
constexpr int kPanelX = 41;
constexpr int kPanelY = 27;
constexpr int kWidth = 400;
constexpr int kHeight = 309;

void sleepMs(int ms) { poll(nullptr, 0, ms); }

void* asParent(unsigned long window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

std::string shotPath(const std::string& name) {
    return std::string(KVBR_TEST_OUTPUT_DIR) + "/x11_editor_" + name + ".png";
}

std::string slotName(int slot) {
    const auto run = platform::linux_backend::runChild(
        {KVBR_EDITOR_REFERENCE, "--slot-name", std::to_string(slot)}, nullptr);
    std::string name = run.output;
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_unique<X11Driver>();
        ASSERT_TRUE(driver->valid()) << "needs an X server with XTest and X-Resource ($DISPLAY)";
        host = std::make_unique<TestHost>();
        ASSERT_NE(host->open(), nullptr);
        host->dispatch(effOpen);
        host->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host->dispatch(effSetBlockSize, 0, 512);
        host->dispatch(effMainsChanged, 0, 1);
        top = driver->createTopLevel(kTopX, kTopY, 540, 430, "Plug-in host");
        panel = driver->createChild(top, kPanelX, kPanelY, 450, 350);
    }
    void TearDown() override {
        if (host && editorOpen) host->dispatch(effEditClose);
        host.reset();
        if (driver && driver->valid() && driver->exists(top)) driver->destroyWindow(top);
    }

    // Opens the editor in the panel; its rectangle and its window must have this size.
    void openEditor(int width = kWidth, int height = kHeight) {
        ERect* rect = nullptr;
        ASSERT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, width);
        EXPECT_EQ(rect->bottom - rect->top, height);
        ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, asParent(panel)), 1);
        editorOpen = true;
        idleFor(200);
        const auto inside = driver->children(panel);
        ASSERT_EQ(inside.size(), 1u);
        editorWindow = inside[0];
        const Pixels shown = driver->capture(editorWindow);
        EXPECT_EQ(shown.width, width);
        EXPECT_EQ(shown.height, height);
    }
    void closeEditor() {
        host->dispatch(effEditClose);
        editorOpen = false;
    }
    void idleFor(int ms) {
        for (int waited = 0; waited < ms; waited += 20) {
            host->dispatch(effEditIdle);
            sleepMs(20);
        }
    }
    void whileIdling(const std::function<void(X11Driver&)>& hands) {
        platform::linux_backend::testing::whileIdling([&] { host->dispatch(effEditIdle); }, hands);
        idleFor(150);
    }
    int x(int editorX) const { return kTopX + kPanelX + editorX; }
    int y(int editorY) const { return kTopY + kPanelY + editorY; }
    float parameter(int index) { return host->effect->getParameter(host->effect, index); }
    std::size_t mark() const { return host->calls.size(); }
    // The host calls since `from` of these opcodes, as "opcode index" lines.
    std::vector<std::string> editCalls(std::size_t from) const {
        std::vector<std::string> seen;
        for (std::size_t i = from; i < host->calls.size(); ++i) {
            const HostCall& c = host->calls[i];
            if (c.opcode == audioMasterBeginEdit) seen.push_back("begin " + std::to_string(c.index));
            if (c.opcode == audioMasterAutomate) seen.push_back("automate " + std::to_string(c.index));
            if (c.opcode == audioMasterEndEdit) seen.push_back("end " + std::to_string(c.index));
        }
        return seen;
    }

    // The window with the pointer resting outside it (no hover pictures),
    // against the reference drawn with the effect's current values and `extra`.
    void expectLooksLikeReference(const std::string& name, std::vector<std::string> extra = {}) {
        driver->moveTo(5, 5);
        idleFor(120);
        const Pixels shot = driver->capture(editorWindow);
        ASSERT_TRUE(platform::linux_backend::testing::savePng(shot, shotPath(name)));
        std::vector<std::string> argv{KVBR_EDITOR_REFERENCE, shotPath(name + "_reference")};
        argv.insert(argv.end(), extra.begin(), extra.end());
        for (int i = 0; i < 12; ++i) {
            char value[48];
            std::snprintf(value, sizeof value, "%d=%.9g", i, static_cast<double>(parameter(i)));
            argv.push_back("--param");
            argv.push_back(value);
        }
        const auto run = platform::linux_backend::runChild(argv, nullptr);
        ASSERT_EQ(run.exitCode, 0) << "reference renderer failed";
        Pixels expected;
        ASSERT_TRUE(platform::linux_backend::testing::loadPng(shotPath(name + "_reference"), expected));
        ASSERT_EQ(shot.width, expected.width);
        ASSERT_EQ(shot.height, expected.height);
        const long differing = platform::linux_backend::testing::differingPixels(shot, expected);
        std::printf("%s: %ld pixels differ from the headless rendering\n", name.c_str(), differing);
        EXPECT_EQ(differing, 0) << name << ": see " << shotPath(name);
    }

    std::unique_ptr<X11Driver> driver;
    ScratchConfigHome config;
    std::unique_ptr<TestHost> host;
    unsigned long top = 0;
    unsigned long panel = 0;
    unsigned long editorWindow = 0;
    bool editorOpen = false;
};

}  // namespace

TEST_F(PluginTest, TheEditorWorksInARealWindowStepByStep) {
    const std::size_t beforeOpen = mark();
    openEditor();
    EXPECT_TRUE(editCalls(beforeOpen).empty()) << "opening sends no edit calls";
    const auto origin = driver->screenOrigin(editorWindow);
    EXPECT_EQ(origin.x, x(0));
    EXPECT_EQ(origin.y, y(0));
    expectLooksLikeReference("open");

    // The compression knob, dragged up.
    const float compressionBefore = parameter(5);
    std::size_t from = mark();
    whileIdling([&](X11Driver& hands) {
        hands.moveTo(x(200), y(200));
        hands.press(1);
        for (int step = 1; step <= 6; ++step) {
            hands.moveTo(x(200), y(200 - 10 * step));
            sleepMs(30);
        }
        sleepMs(200);
        hands.release(1);
    });
    EXPECT_GT(parameter(5), compressionBefore + 0.1f);
    // The press itself reports the unchanged value first; the drag is one
    // edit with the changes inside it.
    const std::vector<std::string> knobCalls = editCalls(from);
    const auto begin = std::find(knobCalls.begin(), knobCalls.end(), "begin 5");
    ASSERT_NE(begin, knobCalls.end());
    EXPECT_NE(std::find(begin, knobCalls.end(), "automate 5"), knobCalls.end());
    EXPECT_EQ(std::count(knobCalls.begin(), knobCalls.end(), "begin 5"), 1);
    EXPECT_EQ(knobCalls.back(), "end 5");
    expectLooksLikeReference("compression_raised");

    // The left third of the process switch.
    from = mark();
    driver->click(x(262 + 15), y(46 + 39));
    idleFor(150);
    EXPECT_EQ(host->text(effGetParamDisplay, 0), "Valve");
    EXPECT_EQ(editCalls(from).front(), "begin 0");
    expectLooksLikeReference("valve");

    // The preset menu: the fourth preset after "Default" in the first column.
    unsigned long popup = 0;
    whileIdling([&](X11Driver& hands) {
        hands.click(x(259), y(292));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        if (!popup) return;
        sleepMs(150);
        const auto at = hands.screenOrigin(popup);
        const Pixels shown = hands.capture(popup);
        platform::linux_backend::testing::savePng(
            hands.captureScreen(x(0), y(0), std::max(kWidth, 254 + shown.width) + 8,
                               kHeight + shown.height + 8),
            shotPath("menu_open"));
        // Entries: "Current", a separator, then slot 1 ("Default"), 2, 3, 4.
        hands.click(at.x + 40, at.y + 2 + 20 + 9 + 3 * 20 + 10);
    });
    ASSERT_NE(popup, 0u) << "no pop-up menu appeared";
    const std::string chosen = slotName(4);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(host->text(effGetProgramName), chosen);
    expectLooksLikeReference("preset_chosen", {"--slot", "4"});

    // A new name typed into the name field.
    whileIdling([&](X11Driver& hands) {
        hands.click(x(194), y(292));
        sleepMs(200);
        hands.type("My Mix");
        hands.key("Return");
    });
    EXPECT_EQ(host->text(effGetProgramName), "My Mix");
    expectLooksLikeReference("renamed", {"--slot", "4", "--name", "My Mix"});

    // The logo opens the about screen; a click on it closes it again.
    driver->click(x(200), y(30));
    idleFor(150);
    expectLooksLikeReference("about", {"--slot", "4", "--name", "My Mix", "--about"});
    driver->click(x(200), y(150));
    idleFor(150);
    expectLooksLikeReference("about_closed", {"--slot", "4", "--name", "My Mix"});
}

TEST_F(PluginTest, PresetFilesGoThroughTheDesktopsDialogToolAndErrorsAreShownByIt) {
    // A stand-in "zenity" first on $PATH: it writes down its arguments and
    // answers the file dialogs with the path in `answer`.
    char pattern[] = "/tmp/kvbr-plugin-dialogs-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    {
        std::ofstream tool(dir + "/zenity");
        tool << "#!/bin/sh\nfor a; do printf '%s\\n' \"$a\"; done >> \"" << dir << "/log\"\n"
             << "[ \"$1\" = --file-selection ] && cat \"" << dir << "/answer\"\nexit 0\n";
    }
    chmod((dir + "/zenity").c_str(), 0755);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    openEditor();

    // SAVE PRESET, answered with a bare name: the file gets its extension.
    std::ofstream(dir + "/answer") << dir << "/mine\n";
    driver->click(x(61), y(285));
    idleFor(300);
    std::ifstream saved(dir + "/mine.kvp", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.size(), 77u);
    EXPECT_EQ(bytes.substr(0, 5), "rBvK!");

    // LOAD PRESET of a file that is none: the error goes through the tool too.
    std::ofstream(dir + "/junk.kvp") << "not a preset at all";
    std::ofstream(dir + "/answer") << dir << "/junk.kvp\n";
    driver->click(x(125), y(285));
    idleFor(300);
    std::ifstream logFile(dir + "/log");
    const std::string log((std::istreambuf_iterator<char>(logFile)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("--title=Save preset as...\n--save\n--confirm-overwrite\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("--file-filter=Korvane Presets | *.kvp\n--file-filter=All Files | *\n"),
              std::string::npos);
    EXPECT_NE(log.find("--title=Select preset to load..."), std::string::npos);
    EXPECT_NE(log.find("--error\n--title=Error...\n--text=Error #01: Invalid preset file!\n"),
              std::string::npos)
        << log;
    setenv("PATH", oldPath.c_str(), 1);
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST_F(PluginTest, HostAutomationFromAnotherThreadIsShownAndNotEchoed) {
    openEditor();
    const std::size_t from = mark();
    std::thread automation([&] {
        for (int i = 0; i <= 20; ++i) {
            host->effect->setParameter(host->effect, 6, 0.05f * static_cast<float>(i));
            sleepMs(5);
        }
    });
    while (automation.joinable()) {
        host->dispatch(effEditIdle);
        sleepMs(20);
        if (parameter(6) >= 1.0f) automation.join();
    }
    EXPECT_TRUE(editCalls(from).empty()) << "automation came back as an edit";
    expectLooksLikeReference("automated");
}

TEST_F(PluginTest, TheHostClosingTheEditorWithTheAboutScreenOpenIsFine) {
    openEditor();
    driver->click(x(200), y(30));
    idleFor(150);
    closeEditor();
    EXPECT_FALSE(driver->exists(editorWindow));
    // And it opens again as before.
    openEditor();
    expectLooksLikeReference("reopened");
}

TEST_F(PluginTest, TheHostDestroyingItsWindowBeforeCloseEndsNothing) {
    X11Driver::installHostErrorHandler();
    openEditor();
    driver->destroyWindow(top);
    idleFor(100);
    closeEditor();
    EXPECT_EQ(X11Driver::hostErrors(), 0);
    EXPECT_TRUE(X11Driver::hostErrorHandlerInstalled());
    // The effect is still in order.
    EXPECT_EQ(host->text(effGetEffectName), "Korvane Brassel");
}

TEST_F(PluginTest, TwoHundredOpenCloseCyclesLeaveTheServerAsItWas) {
    openEditor();
    closeEditor();
    driver->sync();
    const int clients = driver->clientCount();
    const long resources = driver->resourceTotal();
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, asParent(panel)), 1);
        host->dispatch(effEditIdle);
        host->dispatch(effEditIdle);
        host->dispatch(effEditClose);
    }
    driver->sync();
    sleepMs(100);
    EXPECT_EQ(driver->clientCount(), clients);
    EXPECT_EQ(driver->resourceTotal(), resources);
    std::printf("after 200 cycles: %d clients, %ld resources\n", clients, resources);
}

// A desktop at 192 dpi (Xft.dpi loaded with xrdb, as desktops do): the editor
// opens at twice the size, drags count in layout pixels, and the switch and
// the preset list hit where they show; at 144 dpi it is 1.5 times the size.
TEST_F(PluginTest, OnADenseDesktopTheEditorScalesAndHitsWhereItShows) {
    struct Resources {
        static bool load(const std::string& line) {
            return platform::linux_backend::runChild(
                       {"sh", "-c", "echo '" + line + "' | xrdb -merge"}, nullptr)
                       .exitCode == 0;
        }
        ~Resources() { platform::linux_backend::runChild({"xrdb", "-remove"}, nullptr); }
    } resources;
    ASSERT_TRUE(Resources::load("Xft.dpi: 192")) << "needs xrdb (Debian package x11-xserver-utils)";
    driver->destroyWindow(top);
    top = driver->createTopLevel(kTopX, kTopY, 900, 720, "Plug-in host");
    panel = driver->createChild(top, kPanelX, kPanelY, 850, 680);
    openEditor(800, 618);
    expectLooksLikeReference("scale2_open", {"--scale", "2"});

    // 200 screen pixels to the right turn Time by 100 layout pixels: a fifth
    // of its range, as 100 pixels do at 1x.
    const float time = parameter(4);
    whileIdling([&](X11Driver& hands) {
        hands.moveTo(x(170), y(400));
        hands.press(1);
        for (int step = 1; step <= 10; ++step) {
            hands.moveTo(x(170 + 20 * step), y(400));
            sleepMs(30);
        }
        sleepMs(200);
        hands.release(1);
    });
    EXPECT_NEAR(parameter(4), time + 0.2f, 1e-6f);

    // The switch's thirds, each just inside its edges.
    for (auto [left, shown] : {std::pair{263, "Valve"}, {332, "Clear"}, {366, "Off"}}) {
        driver->click(x(2 * left), y(2 * 85));
        idleFor(150);
        EXPECT_EQ(host->text(effGetParamDisplay, 0), shown) << left;
    }

    // The preset list, twice the size: the fourth preset after "Default".
    unsigned long popup = 0;
    whileIdling([&](X11Driver& hands) {
        hands.click(x(2 * 259), y(2 * 292));
        for (int i = 0; i < 100 && !popup; ++i, sleepMs(20)) popup = hands.popup();
        if (!popup) return;
        sleepMs(150);
        const auto at = hands.screenOrigin(popup);
        hands.click(at.x + 80, at.y + 4 + 40 + 18 + 3 * 40 + 20);
    });
    ASSERT_NE(popup, 0u) << "no pop-up menu appeared";
    EXPECT_EQ(host->text(effGetProgramName), slotName(4));
    expectLooksLikeReference("scale2_preset_chosen", {"--slot", "4", "--scale", "2"});
    closeEditor();

    ASSERT_TRUE(Resources::load("Xft.dpi: 144"));
    openEditor(600, 464);
    closeEditor();
}
