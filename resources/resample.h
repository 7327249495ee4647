// Pictures at scales the artwork was not drawn at: resampled from a larger or
// smaller picture with a filter that keeps edges sharp without ringing much.
#pragma once

#include "bmpImage.h"

namespace resources {

// `source` resampled by `ratio` (the output's pixels per source pixel) into a
// width x height picture; source pixel centres map to ratio times theirs, so a
// picture padded beyond ratio times the source repeats its edge pixels. Uses a
// Catmull-Rom cubic, widened when reducing so that every source pixel counts.
BmpImage resample(const BmpImage& source, double ratio, int width, int height);

// Rows first .. first + count - 1 of that picture (clamped to it), written to `out`
// (width * 3 bytes a row, R, G, B): the same pixels, made from the source rows they
// reach only, wherever and in whichever order the source's pixels lie.
void resampleRows(const PixelRows& source, double ratio, int width, int height, int first, int count,
                  unsigned char* out);

// The picture for an editor scale from the artwork's two sets: at 2 the 2x picture as it
// is, at other scales resampled from it, or from the 1x picture when there is no 2x one
// (either may be null). Away from 2 it is one pixel wider and taller than its layout size
// times the scale, so that draws whose edges were rounded up never run off it. Empty
// when there is neither picture.
BmpImage pictureForScale(const BmpImage* oneX, const BmpImage* twoX, double scale);

// A side of that picture away from the scale it was drawn at: `drawnSide` pixels of
// artwork drawn at `drawnAt`, times the scale, rounded up, plus one.
int scaledSide(int drawnSide, double drawnAt, double scale);

} // namespace resources
