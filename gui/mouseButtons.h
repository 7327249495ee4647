// The button-and-modifier mask every press, drag and wheel handler reads, and
// the VST key modifier bits the keyboard handlers read.
#pragma once

#include "platform/input.h"

namespace gui {

// The toolkit's names for the bits the platform layer reports.
constexpr int kLButton = platform::kButtonLeft;
constexpr int kMButton = platform::kButtonMiddle;
constexpr int kRButton = platform::kButtonRight;
constexpr int kShift = platform::kModifierShift;
constexpr int kControl = platform::kModifierControl;
constexpr int kAlt = platform::kModifierAlt;
// The fourth modifier bit (the command key elsewhere); no key sets it on
// Windows or Linux, but handlers still honour it.
constexpr int kApple = 64;
// Any modifier: the bits that make a stock control ask its listener first.
constexpr int kModifierMask = kShift | kControl | kAlt | kApple;

// Wheel axes of the view's four-argument wheel operation.
enum CMouseWheelAxis { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

}  // namespace gui
