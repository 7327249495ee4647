// One LV2 plug-in instance: a compressor of the core, and the host's port
// buffers.
#pragma once

#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>

#include "core/Compressor.h"
#include "ports.h"

// A UI editing an instance through instance access: told when the instance
// goes first (the UI lives in another object, hence the virtual call).
class Lv2InstanceUser {
public:
    virtual void instanceGone() = 0;

protected:
    ~Lv2InstanceUser() = default;
};

struct Lv2Uris {
    LV2_URID bank = 0;
    LV2_URID selectedProgram = 0;
    LV2_URID stateVersion = 0;
    LV2_URID editorStrip = 0;
    LV2_URID atomChunk = 0;
    LV2_URID atomInt = 0;
};

struct Lv2Instance {
    Lv2Instance(const lv2ports::Layout& layout, double rate, const LV2_URID_Map* map);
    // Tells a UI that still edits this instance's compressor to let go.
    ~Lv2Instance();

    // A UI given this instance through instance access checks that it is one
    // of ours, of this very layout, before it touches anything.
    static constexpr std::uint32_t kMagic = 0x4b764c31;  // "KvL1"
    const std::uint32_t magic = kMagic;

    // Host's audio thread: a control port whose step differs from the step the
    // parameter shows reaches the compressor as the normalised value the
    // editor's knob gives for that step. The ports always win, yet a value the
    // port already shows (a program restored or chosen in the editor) is kept
    // exactly as the program has it.
    void applyControls();
    // Host's audio thread: processes in place or between separate buffers.
    void run(unsigned frames);

    Compressor compressor;
    lv2ports::Layout layout;
    std::array<float*, lv2ports::kStereoLayout.portCount()> ports{};
    bool hasMap = false;
    Lv2Uris uris;
    // The GUI thread's: the UI that edits this instance, if one does.
    Lv2InstanceUser* ui = nullptr;
};
