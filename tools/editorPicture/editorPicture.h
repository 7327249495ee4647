// The plug-in's editor drawn offscreen on the headless backend and saved as
// a PNG: the whole window (400 x 309 times the scale, taller with the strip
// open) in a given state, meter included.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace editorpicture {

struct EditorState {
    // A bank slot to select first (its values and name), or none.
    std::optional<int> presetSlot;
    // Parameter values applied after the slot; unset ones keep what they have.
    // The program's twelve, then the settings (Oversampling to Key).
    std::array<std::optional<float>, 16> parameters{};
    // The strip of settings as LV2, VST 3 and CLAP offer it: none (the VST 2.x
    // editor), closed, or open.
    std::optional<bool> strip;
    // A program name to show instead of the slot's.
    std::optional<std::string> programName;
    // The engine's meter reading: 1.0 no gain reduction, 0.5 about 6 dB.
    double meterReading = 1.0;
    // The about screen open over the top of the window.
    bool aboutShowing = false;
    // False for a host that keeps the bank out of the editor's reach.
    bool presetPanelAvailable = true;
    // The editor's scale, asked for as a host asks (KVBR_EDITOR_SCALE stands above it).
    double scale = 1.0;
};

// Builds an effect in `state`, opens its editor on the headless backend, lets
// it idle until the needle stands at the reading, and saves the window. False
// (with `error` set) when the editor cannot open or the file cannot be written.
bool renderEditorPng(const EditorState& state, const std::string& path, std::string& error);

}  // namespace editorpicture
