// The editor's scale: the controls lay themselves out in layout pixels (the
// 400 x 309 editor at 1x) and the toolkit turns those into the window's
// pixels, and the window's pixels back, at the frame's factor.
#pragma once

namespace gui {

constexpr double kSmallestScale = 1.0;
constexpr double kLargestScale = 3.0;

// A layout coordinate in device pixels: rounded half up, so that the edges of
// neighbouring rectangles land on the same device pixel.
int scaled(int layout, double scale);
// The layout pixel whose device pixels hold `device`: the inverse of scaled().
int unscaled(int device, double scale);

// A requested factor as the editor uses it: clamped to 1..3 and rounded to a
// quarter; 0 when the request is absent (0, negative or not a number).
double normalisedScale(double requested);

// The factor an editor opens at, from its sources in order of precedence: the
// user's override, the host's request, the desktop's factor. Each is 0 when
// absent; with none of them the editor opens at 1.
double chooseScale(double userOverride, double hostRequest, double desktop);

}  // namespace gui
