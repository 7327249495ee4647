#pragma once

#include "canvas.h"

#include <map>

namespace artwork {

// Resource numbers the editor asks for.
enum BitmapId : int {
    kBackground = 12128,
    kProcessSwitchStrip = 12129,
    kMeterFace = 12151,
    kMeterOverlay = 12152,
    kCompressionKnob = 12171,
    kTimeKnob = 12173,
    kOutputKnob = 12177,
    kRatioKnob = 12181,
    kAbout = 12200,
    kStrip = 12300,
    kMixKnob = 12301,
    kOversampling = 12302,
    kSidechainFilter = 12303,
    kKeySelector = 12304,
    kStripTab = 12305,
    kRecallA = 19991,
    kRecallB = 19992,
    kLoadBank = 19993,
    kSaveBank = 19994,
    kStoreA = 19995,
    kStoreB = 19996,
    kRocker = 19997,
    kLoadPreset = 19998,
    kSavePreset = 19999,
};

using Bitmaps = std::map<int, Image>;

// Draws the whole set; the panel is drawn once and every control frame is cut from it.
Bitmaps renderAll();

// How many pictures a bitmap holds one above the other (1 for a single picture).
int frameCount(int id);

} // namespace artwork
