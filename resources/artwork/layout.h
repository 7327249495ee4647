// Where everything sits in the 400 x 309 editor window, shared by every drawing routine
// so that frames cropped from the panel line up with the panel pixel for pixel.
#pragma once

namespace artwork {

struct Rect {
    int left, top, right, bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr double centreX() const { return (left + right) * 0.5; }
    constexpr double centreY() const { return (top + bottom) * 0.5; }
};

namespace layout {

constexpr int kWindowWidth = 400;
constexpr int kWindowHeight = 309;

constexpr Rect kTitle{96, 22, 304, 46};
constexpr Rect kRatioKnob{50, 50, 120, 120};
constexpr Rect kMeterFace{150, 66, 250, 109};
constexpr Rect kMeterOverlay{143, 110, 256, 156};
constexpr Rect kProcessSwitch{262, 46, 368, 124};

constexpr Rect kTimeKnob{28, 143, 142, 257};
constexpr Rect kCompressionKnob{143, 143, 257, 257};
constexpr Rect kOutputKnob{258, 143, 372, 257};

constexpr Rect kSavePreset{55, 278, 67, 292};
constexpr Rect kLoadPreset{119, 278, 131, 292};
constexpr Rect kSaveBank{55, 294, 67, 308};
constexpr Rect kLoadBank{119, 294, 131, 308};
constexpr Rect kNameField{138, 285, 251, 299};
constexpr Rect kMenuMarker{254, 285, 264, 299};
constexpr Rect kRocker{269, 285, 300, 299};
constexpr Rect kStoreA{302, 278, 314, 292};
constexpr Rect kStoreB{302, 294, 314, 308};
constexpr Rect kRecallA{327, 278, 339, 292};
constexpr Rect kRecallB{327, 294, 339, 308};

// The tab that opens the strip sits in the free corner of the bottom bar, clear of the
// recall keys and the screw.
constexpr Rect kStripTab{348, 281, 380, 303};

// The strip below the panel. It is a picture of its own, 80 pixels tall, shown under the
// panel while the tab has it open; everything here is in window coordinates all the same,
// so the strip's own row 0 is window row kStripTop.
constexpr int kStripTop = kWindowHeight;
constexpr int kStripHeight = 80;
constexpr int kOpenWindowHeight = kStripTop + kStripHeight;

constexpr Rect kMixKnob{20, 318, 84, 382};
constexpr Rect kOversampling{104, 342, 182, 362};   // Off, 2x, 4x
constexpr Rect kSidechainFilter{192, 342, 302, 362}; // Off, 60, 90, 150, 250 Hz
constexpr Rect kKeySelector{312, 342, 388, 362};     // internal, external

// The about picture covers the top of the window; the program prints its version here.
constexpr Rect kAboutVersion{299, 70, 340, 81};
constexpr int kAboutHeight = 276;

// Colour of the preset name field; the program prints the name over it.
constexpr int kNameFieldRgb[3] = {207, 222, 235};

// The meter needle turns about a pivot below the face. Window pixels are addressed by their
// centres, so the pivot pixel (200,155) is the cairo point (200.5,155.5).
constexpr double kMeterPivotX = 200.5;
constexpr double kMeterPivotY = 155.5;
constexpr double kNeedleInnerRadius = 3.0;
constexpr double kNeedleOuterRadius = 86.0;

// All knobs share one sweep: 300 degrees from 7:30 to 4:30 o'clock, measured clockwise from 12.
constexpr double kKnobStartDeg = -150.0;
constexpr double kKnobSweepDeg = 300.0;

} // namespace layout
} // namespace artwork
