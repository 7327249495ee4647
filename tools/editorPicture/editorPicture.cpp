#include "editorPicture.h"

#include "editor/ADEditor.h"
#include "gui/CFrame.h"
#include "gui/scale.h"
#include "platform/headless/headless.h"
#include "core/Compressor.h"

namespace editorpicture {

namespace hl = platform::headless;

bool renderEditorPng(const EditorState& state, const std::string& path, std::string& error) {
    // A compressor without a host whose meter reading is set from outside, as
    // the engine would leave it after processing.
    Compressor compressor;
    ProgramBank& bank = compressor.bank();
    if (state.presetSlot) bank.selectPreset(*state.presetSlot);
    for (int i = 0; i < static_cast<int>(state.parameters.size()); ++i)
        if (state.parameters[i]) compressor.parameters().set(i, *state.parameters[i]);
    compressor.parameters().set(kEditorStripParameter, state.strip.value_or(false) ? 1.0f : 0.0f);
    if (state.programName) bank.setPresetName(state.programName->c_str());
    compressor.setMeterReading(state.meterReading);

    EditorModel model(compressor.parameters(), &bank, nullptr, compressor.meterSource());
    ADEditor view(model);
    ADEditor* editor = &view;
    int parent = 0;
    editor->setPresetPanelAvailable(state.presetPanelAvailable);
    editor->setHostScale(state.scale);
    if (state.strip) editor->offerStrip();
    if (!editor->open(&parent)) {
        error = "the editor did not open";
        return false;
    }
    auto* window = static_cast<hl::HeadlessWindow*>(editor->getFrame()->getPlatformWindow());
    // The first paint; then one idle feeds the meter and the next draws it.
    window->processEvents();
    hl::scriptedInput().setPointer(platform::Point{-1000, -1000});  // no hover pictures
    for (int i = 0; i < 3; ++i) editor->idle();
    if (state.aboutShowing) {
        hl::scriptedInput().pushButtons(1);
        const double scale = editor->getScale();
        window->sendButtonDown(platform::Point{gui::scaled(200, scale), gui::scaled(30, scale)});
        for (int i = 0; i < 2; ++i) editor->idle();
    }
    const bool saved = window->savePng(path);
    editor->close();
    if (!saved) error = "cannot write " + path;
    return saved;
}

}  // namespace editorpicture
