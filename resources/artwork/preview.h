#pragma once

#include "bitmaps.h"

#include <string>

namespace artwork {

// How the mock-up editor is set: knob frames, switch position, meter reading and so on.
struct MockupState {
    int timeFrame = 8;
    int compressionFrame = 26;
    int outputFrame = 22;
    int ratioFrame = 3;
    int switchFrame = 0;
    double reductionDb = 6.0;
    int hoveredButton = 0; // a resource number of a small button shown lit, or 0
    int rockerFrame = 0;
    bool about = false;
    bool stripOpen = false;
    int mixFrame = 100;
    int oversamplingFrame = 1;
    int sidechainFrame = 0;
    int keyFrame = 0;
    std::string presetName = "Warm Bus Glue";
};

// Puts the editor together from the bitmaps as the program does, for looking at.
Image composeMockup(const Bitmaps& bitmaps, const MockupState& state);

// The editor with the strip open below the panel, 400 x 389.
Image composeOpenMockup(const Bitmaps& bitmaps, const MockupState& state);

// Nearest-neighbour enlargement, to inspect small details.
Image enlarged(const Image& image, int factor);

// Every bitmap laid out on one sheet; strips are shown frame by frame in rows.
Image contactSheet(const Bitmaps& bitmaps);

// The small buttons and the rocker, every frame side by side.
Image buttonSheet(const Bitmaps& bitmaps);

bool writePng(const Image& image, const std::string& path);

} // namespace artwork
