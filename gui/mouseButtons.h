// The button-and-modifier mask every press, drag and wheel handler reads, and
// the VST key modifier bits the keyboard handlers read.
#pragma once

#include "platform/input.h"

namespace gui {

constexpr int kLButton = 1;
constexpr int kMButton = 2;
constexpr int kRButton = 4;
constexpr int kShift = 8;
constexpr int kControl = 16;
constexpr int kAlt = 32;
// The fourth modifier bit (the command key elsewhere); no key sets it on
// Windows or Linux, but handlers still honour it.
constexpr int kApple = 64;
// Any modifier: the bits that make a stock control ask its listener first.
constexpr int kModifierMask = kShift | kControl | kAlt | kApple;

static_assert(kLButton == platform::kButtonLeft && kMButton == platform::kButtonMiddle &&
              kRButton == platform::kButtonRight && kShift == platform::kModifierShift &&
              kControl == platform::kModifierControl && kAlt == platform::kModifierAlt);

// Wheel axes of the view's four-argument wheel operation.
enum CMouseWheelAxis { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

}  // namespace gui
