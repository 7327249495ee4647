#include "aliasing.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>

#include "fourier.h"

namespace measure {

AliasResult measureAliasing(const Subject& subject, const AliasCase& c) {
    const long n = kAnalysisSize;
    // An odd bin: the sine repeats exactly over the analysis, and its
    // harmonics' images land on bins of their own.
    long bin = std::lround(c.frequency * n / c.rate);
    if (bin % 2 == 0) ++bin;
    const double frequency = bin * c.rate / n;
    const long frames = static_cast<long>(c.rate) + n;  // a second to settle
    RenderRun run;
    run.rate = c.rate;
    run.settings = {{"Process", static_cast<double>(c.process)}, {"Compression", c.compression}};
    if (c.oversampling) run.settings.push_back({"Oversampling", static_cast<double>(c.oversampling)});
    const std::vector<double> out = render(subject, run, sine(frequency, c.dbfs, c.rate, frames));

    AliasResult result;
    result.spectrum = amplitudeSpectrum(out, n);
    const double fundamental = componentAt(result.spectrum, bin);
    double worst = 0.0, audible = 0.0;
    result.worstAliasHz = 0.0;
    // Harmonics up to eight times the rate fold back. An image within 30 Hz
    // of a true harmonic or of DC cannot be told from the sidebands the gain
    // path puts there (its ripple at the base rate beating with the rate, as
    // Clear shows with no valve at all) and is left out.
    for (long k = 2; k * frequency < 8.0 * c.rate; ++k) {
        if (k * bin <= n / 2) continue;
        long image = (k * bin) % n;
        if (image > n / 2) image = n - image;
        const long near = std::lround(30.0 * n / c.rate);
        bool masked = image < near;
        for (long j = 1; j * bin <= n / 2 && !masked; ++j) masked = std::labs(image - j * bin) < near;
        if (masked) continue;
        const double level = componentAt(result.spectrum, image);
        if (image * c.rate / n <= 20000.0) audible = std::max(audible, level);
        if (level > worst) {
            worst = level;
            result.worstAliasHz = image * c.rate / n;
        }
    }
    result.worstAlias = decibels(worst) - decibels(fundamental);
    result.worstAudible = decibels(audible) - decibels(fundamental);
    double sum = 0.0;
    for (long i = frames - n; i < frames; ++i) sum += out[i];
    result.dc = decibels(sum / n);
    return result;
}

}  // namespace measure
