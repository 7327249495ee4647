#pragma once

#include "canvas.h"

namespace artwork {

enum class ButtonIcon { Save, Load, Store, Recall };

// Four 12 x 14 frames stacked: normal, hover (lit), pressed, inactive.
Image renderSmallButton(const Image& panel, const Rect& place, ButtonIcon icon);

// Five 31 x 14 frames: normal, left hover, right hover, left pressed, right pressed.
Image renderRocker(const Image& panel, const Rect& place);

} // namespace artwork
