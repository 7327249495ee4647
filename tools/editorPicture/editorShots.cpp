// kvbr-editor-shots DIR: draws the pictures of the editor that README.md
// shows: the default state, a working state with the meter deflected by a
// real signal, the about screen, and the preset menu's pop-up list; the
// working state and the about screen again at 2x, and the strip of settings
// closed and open at 1x and 2x.
#include <cmath>
#include <numbers>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Compressor.h"
#include "editor/ADEditor.h"
#include "editorPicture.h"
#include "gui/CFrame.h"
#include "menuPicture.h"
#include "platform/headless/headless.h"

using namespace editorpicture;
namespace hl = platform::headless;

namespace {

// The meter reading after `seconds` of a 150 Hz tone at `peak` through the
// compressor set as in `state`.
double readingAfterTone(const EditorState& state, double peak, double seconds) {
    Compressor compressor;
    compressor.setSampleRate(44100.0);
    compressor.resume();
    for (int i = 0; i < 12; ++i)
        if (state.parameters[i]) compressor.parameters().set(i, *state.parameters[i]);
    const int block = 512;
    std::vector<float> left(block), right(block), outLeft(block), outRight(block);
    long n = 0;
    for (long done = 0; done < static_cast<long>(seconds * 44100.0); done += block) {
        for (int i = 0; i < block; ++i, ++n)
            left[i] = right[i] = static_cast<float>(peak * std::sin(2.0 * std::numbers::pi * 150.0 * n / 44100.0));
        compressor.process(left.data(), right.data(), outLeft.data(), outRight.data(), block);
    }
    return compressor.getMeterReading();
}

// The pop-up list of the preset menu, as the editor builds it.
bool presetMenuShot(const std::string& path, std::string& error) {
    Compressor compressor;
    compressor.bank().selectPreset(11);  // "Glue Things Together", checked in the list
    EditorModel model(compressor.parameters(), &compressor.bank(), nullptr, compressor.meterSource());
    ADEditor view(model);
    ADEditor* editor = &view;
    int parent = 0;
    if (!editor->open(&parent)) {
        error = "the editor did not open";
        return false;
    }
    auto* window = static_cast<hl::HeadlessWindow*>(editor->getFrame()->getPlatformWindow());
    window->processEvents();
    hl::scriptedInput().pushButtons(1);
    window->sendButtonDown(platform::Point{258, 290});  // the menu's place; no choice follows
    editor->close();
    if (hl::menusShown() == 0) {
        error = "no menu was shown";
        return false;
    }
    return renderMenuPng(hl::lastMenu(), path, error);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "docs";
    std::string error;
    bool ok = true;

    EditorState standard;
    ok &= renderEditorPng(standard, dir + "/editor-default.png", error);

    EditorState working;
    working.parameters[0] = 1.0f;   // Valve
    working.parameters[2] = 1.0f;   // 10:1
    working.parameters[4] = 0.3f;   // time 3
    working.parameters[5] = 0.75f;  // compression 7.5
    working.parameters[6] = 0.2f;   // output 6 dB
    working.meterReading = readingAfterTone(working, 0.1, 2.0);
    std::printf("meter reading %.3f (%.1f dB gain reduction)\n", working.meterReading,
                -20.0 * std::log10(working.meterReading));
    ok &= renderEditorPng(working, dir + "/editor-working.png", error);

    EditorState about;
    about.aboutShowing = true;
    ok &= renderEditorPng(about, dir + "/editor-about.png", error);

    ok &= presetMenuShot(dir + "/editor-preset-menu.png", error);

    // The same states on a screen at twice the density.
    for (EditorState* state : {&working, &about}) state->scale = 2.0;
    ok &= renderEditorPng(working, dir + "/editor-working-2x.png", error);
    ok &= renderEditorPng(about, dir + "/editor-about-2x.png", error);

    // The strip, as LV2, VST 3 and CLAP offer it: closed, then open with
    // parallel compression, a side-chain filter and 2x oversampling.
    EditorState closed = working, open = working;
    closed.strip = false;
    open.strip = true;
    open.parameters[12] = 0.5f;   // Oversampling 2x
    open.parameters[13] = 0.6f;   // Mix 60 %
    open.parameters[14] = 0.75f;  // Sidechain Filter 150 Hz
    for (double scale : {1.0, 2.0}) {
        const std::string suffix = scale == 1.0 ? ".png" : "-2x.png";
        closed.scale = open.scale = scale;
        ok &= renderEditorPng(closed, dir + "/editor-strip-closed" + suffix, error);
        ok &= renderEditorPng(open, dir + "/editor-strip-open" + suffix, error);
    }

    if (!ok) {
        std::fprintf(stderr, "kvbr-editor-shots: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s/editor-{default,working,about,preset-menu}.png, two at 2x, and "
                "editor-strip-{closed,open} at 1x and 2x\n",
                dir.c_str());
    return 0;
}
