// What the toolkit's tests put behind an editor instead of a plug-in: an
// effect that logs the edits ("begin 5", "end 5") and counts the idle
// requests the editor passes on, and owns the editor; and an editor that
// opens an empty frame of a given size in its parent and counts its idles.
// Shared by the headless, X11 and Windows suites.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/AEffGUIEditor.h"
#include "gui/CFrame.h"

namespace testsupport {

using Log = std::vector<std::string>;

class RecordingEffect {
public:
    explicit RecordingEffect(Log& log) : log(log) {}
    // Deletes the editor it owns.
    virtual ~RecordingEffect() { delete editor; }
    RecordingEffect(const RecordingEffect&) = delete;
    RecordingEffect& operator=(const RecordingEffect&) = delete;
    virtual void beginEdit(int index) { log.push_back("begin " + std::to_string(index)); }
    virtual void endEdit(int index) { log.push_back("end " + std::to_string(index)); }
    virtual void masterIdle() { ++masterIdles; }
    gui::AEffGUIEditor* getEditor() const { return editor; }
    int masterIdles = 0;

private:
    friend class TestEditor;
    Log& log;
    gui::AEffGUIEditor* editor = nullptr;
};

class TestEditor : public gui::AEffGUIEditor {
public:
    // Links itself to the effect, which deletes it.
    TestEditor(RecordingEffect* effect, int width, int height)
        : effect(effect), width(width), height(height) {
        if (effect) effect->editor = this;
        rect.right = static_cast<std::int16_t>(width);
        rect.bottom = static_cast<std::int16_t>(height);
    }
    ~TestEditor() override {
        if (effect && effect->editor == this) effect->editor = nullptr;
    }
    bool open(void* parent) override {
        AEffGUIEditor::open(parent);
        frame = new gui::CFrame(gui::CRect(0, 0, width, height), parent, this);
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
    void beginEdit(int index) override {
        if (effect) effect->beginEdit(index);
    }
    void endEdit(int index) override {
        if (effect) effect->endEdit(index);
    }
    void hostIdle() override {
        if (effect) effect->masterIdle();
    }
    int idles = 0;

private:
    RecordingEffect* effect;
    int width;
    int height;
};

}  // namespace testsupport
