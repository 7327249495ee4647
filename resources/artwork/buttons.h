#pragma once

#include "canvas.h"

namespace artwork {

enum class KeyState { Normal, Hover, Pressed, Inactive };

// The rubber-capped key body, shaded per state, over the rectangle given.
void keyBody(cairo_t* cr, double x, double y, double w, double h, KeyState state);

// Colour of a key's glyph or legend in each state.
Colour glyphColour(KeyState state);

// The amber halo of a lit key, centred on (x, y).
void lampGlow(cairo_t* cr, double x, double y, double radius);

enum class ButtonIcon { Save, Load, Store, Recall };

// Four 12 x 14 frames stacked: normal, hover (lit), pressed, inactive.
Image renderSmallButton(const Image& panel, const Rect& place, ButtonIcon icon);

// Five 31 x 14 frames: normal, left hover, right hover, left pressed, right pressed.
Image renderRocker(const Image& panel, const Rect& place);

// Two frames of the tab that opens the strip below the panel: closed, open.
Image renderStripTab(const Image& panel, const Rect& place);

} // namespace artwork
