#include "fourier.h"

#include <cmath>
#include <complex>

namespace measure {

namespace {

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / static_cast<double>(length));
        for (size_t start = 0; start < n; start += length) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < length / 2; ++k, w *= step) {
                const std::complex<double> u = a[start + k], v = a[start + k + length / 2] * w;
                a[start + k] = u + v;
                a[start + k + length / 2] = u - v;
            }
        }
    }
}

}  // namespace

std::vector<double> amplitudeSpectrum(const std::vector<double>& signal, int size) {
    std::vector<std::complex<double>> a(size);
    const size_t offset = signal.size() - size;
    double windowSum = 0.0;
    for (int i = 0; i < size; ++i) {
        const double p = 2.0 * M_PI * i / size;
        const double w = 0.35875 - 0.48829 * std::cos(p) + 0.14128 * std::cos(2 * p) - 0.01168 * std::cos(3 * p);
        windowSum += w;
        a[i] = signal[offset + i] * w;
    }
    fft(a);
    std::vector<double> amplitude(size / 2 + 1);
    for (int k = 0; k <= size / 2; ++k) amplitude[k] = 2.0 * std::abs(a[k]) / windowSum;
    return amplitude;
}

double componentAt(const std::vector<double>& spectrum, long bin) {
    // The window's power over its main lobe, in terms of its peak: the sum
    // of its squared bin values for a component exactly on a bin.
    constexpr double a0 = 0.35875, a1 = 0.48829 / 2 / a0, a2 = 0.14128 / 2 / a0, a3 = 0.01168 / 2 / a0;
    constexpr double kLobePower = 1.0 + 2 * (a1 * a1 + a2 * a2 + a3 * a3);
    double power = 0.0;
    for (long k = bin - 4; k <= bin + 4; ++k)
        if (k >= 0 && k < static_cast<long>(spectrum.size())) power += spectrum[k] * spectrum[k];
    return std::sqrt(power / kLobePower);
}

}  // namespace measure
