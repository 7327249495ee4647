#include "measureRun.h"

#include <algorithm>
#include <cmath>

#include "core/controls.h"
#include "toolError.h"

namespace measure {

void apply(render::Effect& effect, const Settings& settings) {
    for (const Setting& s : settings) {
        const controls::Control* found = nullptr;
        for (const controls::Control& c : controls::kControls)
            if (s.control == c.name) found = &c;
        if (!found) throw render::UsageError("no control " + s.control);
        // The built-in compressor knows its controls by name; a VST 2.x build
        // has the program's controls at their parameter indices.
        const std::optional<int> own = effect.controlParameter(found->name);
        const int index = own ? *own : found->parameter;
        if (!own && (found->parameter >= effect.numParams() || !effect.isKorvaneBrassel()))
            throw render::UsageError(effect.identity().displayName() + " has no " + s.control);
        effect.setParameter(index,
                            controls::normalisedOfStep(*found, controls::stepOf(*found, s.value)));
    }
}

std::vector<double> render(const Subject& subject, const RenderRun& run, const std::vector<double>& input,
                           double* meterAtChange) {
    std::unique_ptr<render::Effect> effect = render::openEffect(subject.path);
    apply(*effect, run.settings);
    effect->start(run.rate, run.block, 2, true);
    std::vector<double> out(input.size()), right(input.size());
    long done = 0;
    const long total = static_cast<long>(input.size());
    while (done < total) {
        long n = std::min<long>(run.block, total - done);
        if (run.changeAt > done && run.changeAt < done + n) n = run.changeAt - done;
        if (done == run.changeAt) {
            if (meterAtChange) *meterAtChange = effect->meterReading().value_or(1.0);
            apply(*effect, run.change);
        }
        effect->process({input.data() + done, input.data() + done}, {out.data() + done, right.data() + done},
                        static_cast<int>(n));
        done += n;
    }
    effect->stop();
    return out;
}

std::vector<double> sine(double frequency, double dbfs, double rate, long frames) {
    std::vector<double> x(frames);
    const double amplitude = std::pow(10.0, dbfs / 20.0);
    for (long i = 0; i < frames; ++i) x[i] = amplitude * std::sin(2.0 * M_PI * frequency * i / rate);
    return x;
}

double decibels(double amplitude) { return 20.0 * std::log10(std::max(std::fabs(amplitude), 1e-30)); }

}  // namespace measure
