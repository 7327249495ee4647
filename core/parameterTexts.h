// How a float becomes the two-decimal text shown for Time, Compression and Output.
#pragma once

#include <string>

// Rounds half away from zero at the second decimal and cuts to two decimals;
// independent of the C library's own rounding, so every platform shows the same.
std::string formatFixed2(float x);
