// Shared pieces of the toolkit tests: an effect and a listener that write
// what reaches them into one log, an editor that opens a frame of any size,
// and a fixture that resets the headless backend around every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/toolkit.h"
#include "platform/headless/headless.h"
#include "tests/support/editorHost.h"

namespace guitest {

using namespace gui;
namespace hl = platform::headless;

using testsupport::Log;
using testsupport::RecordingEffect;
using testsupport::TestEditor;

class RecordingListener : public CControlListener {
public:
    explicit RecordingListener(Log& log) : log(log) {}
    void valueChanged(CDrawContext*, CControl* control) override {
        char value[32];
        std::snprintf(value, sizeof value, "%g", static_cast<double>(control->getValue()));
        log.push_back("change " + std::to_string(control->getTag()) + " " + value);
        ++changes;
    }
    int controlModifierClicked(CDrawContext*, CControl*, int button) override {
        log.push_back("modifier " + std::to_string(button));
        return modifierAnswer;
    }
    int changes = 0;
    int modifierAnswer = 0;

private:
    Log& log;
};

// Every toolkit test: a fresh backend, an effect with an editor and an open
// frame, a listener, and one log for all of them.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::resetHeadless();
        liveAtStart = CReferenceCounter::liveObjects();
        effect = new RecordingEffect(log);
        editor = new TestEditor(effect, 200, 100);
        editor->open(&parentWindow);
        frame = editor->getFrame();
        window = static_cast<hl::HeadlessWindow*>(frame->getPlatformWindow());
    }
    void TearDown() override {
        editor->close();
        delete effect;  // deletes the editor too
        EXPECT_EQ(CReferenceCounter::liveObjects(), liveAtStart) << "toolkit objects leaked";
    }

    // The pointer at window point (x, y), in screen coordinates.
    platform::Point screen(int x, int y) const {
        const platform::Point origin = window->screenOrigin();
        return platform::Point{origin.x + x, origin.y + y};
    }
    // A press at window point (x, y) with `buttons` as the state the frame reads.
    void pressAt(int x, int y, int buttons = kLButton) {
        hl::scriptedInput().pushButtons(buttons);
        window->sendButtonDown(platform::Point{x, y});
    }

    Log log;
    RecordingListener listener{log};
    RecordingEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    CFrame* frame = nullptr;
    hl::HeadlessWindow* window = nullptr;
    int parentWindow = 0;
    int liveAtStart = 0;
};

// A view that records what reaches it.
class ProbeView : public CView {
public:
    ProbeView(const CRect& size, Log& log, const std::string& name)
        : CView(size), log(log), name(name) {}
    void mouse(CDrawContext*, CPoint& where, int buttons) override {
        log.push_back(name + " mouse " + std::to_string(where.h) + "," + std::to_string(where.v) +
                      " " + std::to_string(buttons));
    }
    void loseFocus(CDrawContext*) override { log.push_back(name + " loseFocus"); }
    int onKeyDown(gui::KeyCode& key) override {
        log.push_back(name + " key " + std::to_string(key.virt));
        return keyAnswer;
    }
    bool onWheel(CDrawContext*, const CPoint& where, float distance) override {
        char text[64];
        std::snprintf(text, sizeof text, " wheel %d,%d %g", where.h, where.v,
                      static_cast<double>(distance));
        log.push_back(name + text);
        return true;
    }
    void onDragEnter(CDrawContext*, CDragContainer* drag, const CPoint&) override {
        log.push_back(name + " enter " + std::to_string(drag->getCount()));
    }
    void onDragMove(CDrawContext*, CDragContainer*, const CPoint&) override {
        log.push_back(name + " move");
    }
    void onDragLeave(CDrawContext*, CDragContainer*, const CPoint&) override {
        log.push_back(name + " leave");
    }
    bool onDrop(CDrawContext*, CDragContainer*, const CPoint&) override {
        log.push_back(name + " drop");
        return false;
    }
    int keyAnswer = -1;

private:
    Log& log;
    std::string name;
};

}  // namespace guitest
