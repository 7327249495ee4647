// What the X11 tests share: a host with a top-level window and a nested
// panel (the plug-in's parent, away from the screen origin), the toolkit
// scene opened in it, hands on another thread while the host keeps idling,
// and screenshots compared with the headless reference picture.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/linux/testing/x11Driver.h"
#include "toolkitScene.h"

namespace x11test {

using platform::linux_backend::testing::Pixels;
using platform::linux_backend::testing::X11Driver;

// The panel's place in the top-level window, and the top-level's on the screen.
constexpr int kTopX = 50;
constexpr int kTopY = 40;
constexpr int kPanelX = 37;
constexpr int kPanelY = 23;

void* asParent(unsigned long window);
void sleepMs(int milliseconds);
std::string outputPath(const std::string& name);

class X11Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the scene in the panel and idles until it is painted.
    void openEditor();
    unsigned long pluginWindow() const;
    // Calls the editor's idle about every 20 ms for this long.
    void idleFor(int milliseconds);
    // Runs `hands` on a thread of its own (with its own connection) while this
    // thread keeps calling idle, then idles a little longer.
    void whileIdling(const std::function<void(X11Driver&)>& hands, int settleMs = 150);
    // A point of the editor window in screen coordinates.
    int screenX(int x) const { return kTopX + kPanelX + x; }
    int screenY(int y) const { return kTopY + kPanelY + y; }

    Pixels screenshot(const std::string& name);
    Pixels reference(const scene::State& state, const std::string& name);
    // The window's pixels equal the reference outside the text of the field
    // and the menu, and nearly so inside (anti-aliased glyph edges).
    void expectLooksLikeReference(const std::string& name);
    bool logHas(const std::string& line) const;

    std::unique_ptr<X11Driver> driver;
    unsigned long top = 0;
    unsigned long panel = 0;
    scene::Log log;
    scene::Effect* effect = nullptr;
    scene::Editor* editor = nullptr;
};

}  // namespace x11test
