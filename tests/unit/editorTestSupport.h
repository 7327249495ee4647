// The plug-in's editor open on the headless backend: an effect whose host
// records every call together with how many times the mouse buttons had been
// polled by then, helpers for scripted presses and drags in window
// coordinates, and comparisons of window areas with the artwork.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/ADEditor.h"
#include "editor/CAbout.h"
#include "editor/CAnimKnob3.h"
#include "editor/CBrasselVuMeter2.h"
#include "gui/toolkit.h"
#include "platform/headless/embeddedArtwork.h"
#include "platform/headless/headless.h"
#include "platform/headless/headlessDialogs.h"
#include "platform/headless/memorySettingsStore.h"
#include "formats/vst2/AutoComp.h"

namespace editortest {

using namespace gui;
namespace hl = platform::headless;

struct HostEvent {
    vst2::int32 opcode;
    vst2::int32 index;
    float value;
    int buttonPolls;  // mouse-button polls made before the call
};

inline std::vector<HostEvent>& hostEvents() {
    static std::vector<HostEvent> events;
    return events;
}

inline vst2::intptr recordingHost(vst2::AEffect*, vst2::int32 opcode, vst2::int32 index,
                                  vst2::intptr, void*, float opt) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    if (opcode != vst2::audioMasterIdle)
        hostEvents().push_back({opcode, index, opt, hl::scriptedInput().buttonPolls()});
    return 1;
}

// The effect, with a way to put a meter reading where the engine would.
class MeterEffect : public AutoComp {
public:
    MeterEffect() : AutoComp(recordingHost) {}
    void setMeterReading(double reading) { core().setMeterReading(reading); }
};

// What reached the host, as "automate 5 0.5", "begin 5", "end 5".
inline std::vector<std::string> hostLog() {
    std::vector<std::string> out;
    for (const HostEvent& e : hostEvents()) {
        char line[64];
        switch (e.opcode) {
            case vst2::audioMasterAutomate:
                std::snprintf(line, sizeof line, "automate %d %g", e.index,
                              static_cast<double>(e.value));
                break;
            case vst2::audioMasterBeginEdit: std::snprintf(line, sizeof line, "begin %d", e.index); break;
            case vst2::audioMasterEndEdit: std::snprintf(line, sizeof line, "end %d", e.index); break;
            default: std::snprintf(line, sizeof line, "opcode %d", e.opcode); break;
        }
        out.push_back(line);
    }
    return out;
}

// The log without repeated neighbours: a knob reports on every poll until it is redrawn.
inline std::vector<std::string> distinct(const std::vector<std::string>& log) {
    std::vector<std::string> out;
    for (const std::string& entry : log)
        if (out.empty() || out.back() != entry) out.push_back(entry);
    return out;
}

// One stretch of a scripted gesture: the button mask and the pointer (window
// coordinates) held for a number of polls.
struct Phase {
    int buttons;
    int x;
    int y;
    int polls = 40;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::resetHeadless();
        hl::resetDialogs();
        hl::resetMessages();
        hl::memorySettingsStore().clear();
        liveAtStart = CReferenceCounter::liveObjects();
        hostEvents().clear();
        effect = new MeterEffect();
        editor = effect->view();
        ASSERT_NE(editor, nullptr);
        openEditor();
    }
    void TearDown() override {
        delete effect;  // closes and deletes the editor too
        EXPECT_EQ(CReferenceCounter::liveObjects(), liveAtStart) << "toolkit objects leaked";
        EXPECT_EQ(hl::liveWindows(), 0);
    }

    void openEditor() {
        ASSERT_TRUE(editor->open(&parentWindow));
        window = hl::lastWindow();
        ASSERT_NE(window, nullptr);
        // The first paint; idle redraws nothing before it.
        window->processEvents();
        idle();
        hostEvents().clear();
    }

    void idle() { effect->dispatcher(vst2::effEditIdle, 0, 0, nullptr, 0.0f); }
    // A pause longer than a double click, as between two separate gestures.
    void later() { hl::fakeClock().advance(1000); }

    platform::Point screen(int x, int y) const {
        const platform::Point origin = window->screenOrigin();
        return platform::Point{origin.x + x, origin.y + y};
    }
    void pointAt(int x, int y) { hl::scriptedInput().setPointer(screen(x, y)); }

    // A press at window point (x, y); the pointer then rests there.
    void press(int x, int y, int buttons = kLButton) {
        hl::scriptedInput().pushButtons(buttons);
        hl::scriptedInput().pushPointer(screen(x, y));
        window->sendButtonDown(platform::Point{x, y});
        settle();
    }

    // A press at (x, y) with `buttons`, then the phases, then the release.
    // The idle processing between polls also reads the pointer, so each
    // phase holds its position for many polls and the result depends only on
    // where each phase ends.
    void gesture(int x, int y, int buttons, const std::vector<Phase>& phases) {
        auto& input = hl::scriptedInput();
        input.pushButtons(buttons);
        input.pushPointer(screen(x, y));
        for (const Phase& phase : phases)
            for (int i = 0; i < phase.polls; ++i) {
                input.pushButtons(phase.buttons);
                input.pushPointer(screen(phase.x, phase.y));
            }
        window->sendButtonDown(platform::Point{x, y});
        settle();
    }

    // Positions the gesture did not use are dropped; the pointer rests at the last.
    void settle() {
        auto& input = hl::scriptedInput();
        while (input.pendingPointer() > 0) input.cursorPosition();
        while (input.pendingButtons() > 0) input.buttonState();
    }

    float parameter(int index) { return effect->getParameter(index); }

    // True when the window shows, at `r`, the part of artwork `id` that starts at `source`.
    bool showsArtwork(const CRect& r, int id, CPoint source) {
        hl::RgbImage art;
        if (!hl::embeddedArtwork(id, art)) return false;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) {
                const int ax = source.h + x, ay = source.v + y;
                if (ax >= art.width || ay >= art.height) return false;
                const unsigned char* p = &art.rgb[(static_cast<std::size_t>(ay) * art.width + ax) * 3];
                const std::uint32_t expected = (std::uint32_t(p[0]) << 16) | (p[1] << 8) | p[2];
                if (window->pixel(r.left + x, r.top + y) != expected) return false;
            }
        return true;
    }
    // The same for picture `frame` of a strip of `frameHeight`-row pictures.
    bool showsFrame(const CRect& r, int id, int frame, int frameHeight) {
        return showsArtwork(r, id, CPoint(0, frame * frameHeight));
    }

    MeterEffect* effect = nullptr;
    ADEditor* editor = nullptr;
    hl::HeadlessWindow* window = nullptr;
    int parentWindow = 0;
    int liveAtStart = 0;
};

}  // namespace editortest
