// One LV2 plug-in instance: the same effect the VST 2.x entry point builds,
// the host's port buffers, and the step each control port last drove.
#pragma once

#include <lv2/urid/urid.h>

#include <array>
#include <memory>

#include "plugin/AutoComp.h"
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

    // Host's audio thread: each control port whose step changed reaches the
    // effect as the normalised value the editor's knob gives for that step.
    void applyControls();
    // After a restore the restored program is what the ports stand for.
    void takeStepsFromProgram();
    // Host's audio thread: processes in place or between separate buffers.
    void run(unsigned frames);

    std::unique_ptr<AutoComp> effect;
    lv2ports::Layout layout;
    std::array<float*, lv2ports::kStereoLayout.portCount()> ports{};
    std::array<int, lv2ports::kControlCount> appliedSteps{};
    bool hasMap = false;
    Lv2Uris uris;
};
