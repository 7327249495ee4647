// One LV2 plug-in instance: the same effect the VST 2.x entry point builds,
// and the host's port buffers.
#pragma once

#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <memory>

#include "formats/hostLink.h"
#include "formats/vst2/AutoComp.h"
#include "ports.h"

struct Lv2Uris {
    LV2_URID bank = 0;
    LV2_URID selectedProgram = 0;
    LV2_URID stateVersion = 0;
    LV2_URID atomChunk = 0;
    LV2_URID atomInt = 0;
};

struct Lv2Instance {
    Lv2Instance(const lv2ports::Layout& layout, double rate, const LV2_URID_Map* map);
    // Tells a UI that still edits this instance's effect to let go.
    ~Lv2Instance();

    // A UI given this instance through instance access checks that it is one
    // of ours, of this very layout, before it touches anything.
    static constexpr std::uint32_t kMagic = 0x4b764c31;  // "KvL1"
    const std::uint32_t magic = kMagic;

    // Host's audio thread: a control port whose step differs from the step the
    // effect's parameter shows reaches the effect as the normalised value the
    // editor's knob gives for that step. The ports always win, yet a value the
    // port already shows (a program restored or chosen in the editor) is kept
    // exactly as the program has it. The editor is left alone: its UI moves it
    // from the host's port notification, on the GUI thread.
    void applyControls();
    // Host's audio thread: processes in place or between separate buffers.
    void run(unsigned frames);

    // The effect's host: the UI, while one is open with access to this instance.
    HostLink link;
    std::unique_ptr<AutoComp> effect;
    lv2ports::Layout layout;
    std::array<float*, lv2ports::kStereoLayout.portCount()> ports{};
    bool hasMap = false;
    Lv2Uris uris;
};
