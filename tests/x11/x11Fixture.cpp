#include "x11Fixture.h"

#include <poll.h>

#include <cstdio>

#include "gui/CFrame.h"
#include "platform/linux/childProcess.h"
#include "platform/window.h"

namespace x11test {

void* asParent(unsigned long window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

void sleepMs(int milliseconds) { poll(nullptr, 0, milliseconds); }

std::string outputPath(const std::string& name) {
    return std::string(KVBR_TEST_OUTPUT_DIR) + "/x11_" + name + ".png";
}

void X11Test::SetUp() {
    driver = std::make_unique<X11Driver>();
    ASSERT_TRUE(driver->valid()) << "needs an X server with XTest and X-Resource ($DISPLAY)";
    top = driver->createTopLevel(kTopX, kTopY, 520, 420, "Test host");
    panel = driver->createChild(top, kPanelX, kPanelY, 440, 340);
    effect = new scene::Effect(log);
    editor = new scene::Editor(effect, log);
}

void X11Test::TearDown() {
    if (editor && editor->isOpen()) editor->close();
    delete effect;  // and the editor with it
    if (driver && driver->valid() && driver->exists(top)) driver->destroyWindow(top);
}

void X11Test::openEditor() {
    ASSERT_TRUE(editor->open(asParent(panel)));
    ASSERT_NE(editor->getFrame()->getPlatformWindow(), nullptr);
    idleFor(150);
}

unsigned long X11Test::pluginWindow() const {
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(
        editor->getFrame()->getPlatformWindow()->nativeHandle()));
}

void X11Test::idleFor(int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 20) {
        editor->idle();
        sleepMs(20);
    }
}

void X11Test::whileIdling(const std::function<void(X11Driver&)>& hands, int settleMs) {
    platform::linux_backend::testing::whileIdling([&] { editor->idle(); }, hands);
    idleFor(settleMs);
}

Pixels X11Test::screenshot(const std::string& name) {
    driver->sync();
    Pixels shot = driver->capture(pluginWindow());
    EXPECT_TRUE(platform::linux_backend::testing::savePng(shot, outputPath(name)));
    return shot;
}

Pixels X11Test::reference(const scene::State& state, const std::string& name) {
    char switchValue[32], knobValue[32];
    std::snprintf(switchValue, sizeof switchValue, "%.9g", static_cast<double>(state.switchValue));
    std::snprintf(knobValue, sizeof knobValue, "%.9g", static_cast<double>(state.knobValue));
    const std::string path = outputPath(name + "_reference");
    const auto run = platform::linux_backend::runChild(
        {KVBR_SCENE_REFERENCE, path, switchValue, knobValue, std::to_string(state.menuIndex),
         state.text},
        nullptr);
    EXPECT_EQ(run.exitCode, 0) << "reference renderer failed";
    Pixels picture;
    EXPECT_TRUE(platform::linux_backend::testing::loadPng(path, picture)) << path;
    return picture;
}

void X11Test::expectLooksLikeReference(const std::string& name) {
    const Pixels shot = screenshot(name);
    const Pixels expected = reference(editor->state(), name);
    ASSERT_EQ(shot.width, expected.width);
    ASSERT_EQ(shot.height, expected.height);
    long outside = 0, inside = 0;
    auto inText = [](int x, int y) {
        for (const gui::CRect* r : {&scene::kFieldRect, &scene::kMenuRect})
            if (x >= r->left && x < r->right && y >= r->top && y < r->bottom) return true;
        return false;
    };
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.at(x, y) != expected.at(x, y)) ++(inText(x, y) ? inside : outside);
    EXPECT_EQ(outside, 0) << name << ": pixels differ outside the text";
    // Both sides draw text with the same code; the allowance only covers
    // glyph edges, should the two processes ever get different font settings.
    EXPECT_LT(inside, 400) << name << ": the text differs";
    std::printf("%s: %ld pixels differ inside the text, %ld outside\n", name.c_str(), inside,
                outside);
}

bool X11Test::logHas(const std::string& line) const {
    for (const std::string& entry : log)
        if (entry == line) return true;
    return false;
}

}  // namespace x11test
