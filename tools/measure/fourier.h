// Spectra of a render's steady end: a windowed FFT, and the level at one bin.
#pragma once

#include <vector>

namespace measure {

// The last `size` samples (a power of two) under a four-term Blackman-Harris
// window; the amplitude of each bin from 0 to size / 2, a full-scale sine
// reading 1.0 at its bin.
std::vector<double> amplitudeSpectrum(const std::vector<double>& signal, int size);

// The amplitude of a component at `bin`, its window's main lobe summed
// (four bins each side) as power.
double componentAt(const std::vector<double>& spectrum, long bin);

}  // namespace measure
