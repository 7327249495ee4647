// Shared pieces of the toolkit tests: an effect and a listener that write
// what reaches them into one log, an editor that opens a frame of any size,
// and a fixture that resets the headless backend around every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/toolkit.h"
#include "platform/headless/headless.h"
#include "formats/vst2/audioeffect.h"

namespace guitest {

using namespace gui;
namespace hl = platform::headless;

inline vst2::intptr silentHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32, vst2::intptr,
                               void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

using Log = std::vector<std::string>;

class RecordingEffect : public vst2::AudioEffect {
public:
    explicit RecordingEffect(Log& log) : vst2::AudioEffect(silentHost, 1, 12), log(log) {}
    bool beginEdit(vst2::int32 index) override {
        log.push_back("begin " + std::to_string(index));
        return true;
    }
    bool endEdit(vst2::int32 index) override {
        log.push_back("end " + std::to_string(index));
        return true;
    }
    void masterIdle() override { ++masterIdles; }
    int masterIdles = 0;

private:
    Log& log;
};

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

class TestEditor : public AEffGUIEditor {
public:
    TestEditor(vst2::AudioEffect* effect, int width, int height)
        : AEffGUIEditor(effect), width(width), height(height) {
        rect.right = static_cast<std::int16_t>(width);
        rect.bottom = static_cast<std::int16_t>(height);
    }
    bool open(void* parent) override {
        AEffGUIEditor::open(parent);
        frame = new CFrame(CRect(0, 0, width, height), parent, this);
        return true;
    }
    void close() override {
        if (frame) frame->forget();
        frame = nullptr;
        AEffGUIEditor::close();
    }
    void idle() override {
        ++idles;
        AEffGUIEditor::idle();
    }
    int idles = 0;

private:
    int width;
    int height;
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
    int onKeyDown(vst2::VstKeyCode& key) override {
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
