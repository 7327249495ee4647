// Drum voices and a bass line rendered note by note into a stereo buffer.
#include "demoMaterial.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace render {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kTempo = 180.0;
constexpr int kStepsPerBar = 16;
constexpr int kBars = 6;

// A fixed noise source, so every render of the demo is the same.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state;
};

// A first-order high-pass, enough to take the body out of noise.
struct HighPass {
    double a = 0.0, x1 = 0.0, y1 = 0.0;
    HighPass(double cutoff, double rate) : a(1.0 / (1.0 + kTwoPi * cutoff / rate)) {}
    double run(double x) {
        y1 = a * (y1 + x - x1);
        x1 = x;
        return y1;
    }
};

// A two-pole state-variable low-pass with a moving cutoff, for the bass.
struct LowPass {
    double low = 0.0, band = 0.0;
    double run(double x, double cutoff, double rate, double damping) {
        const double f = 2.0 * std::sin(3.141592653589793 * std::min(cutoff, rate / 6.0) / rate);
        low += f * band;
        const double high = x - low - damping * band;
        band += f * high;
        return low;
    }
};

class Mix {
public:
    Mix(double rate, size_t frames) : rate(rate), left(frames), right(frames) {}
    void add(size_t frame, double l, double r) {
        if (frame < left.size()) {
            left[frame] += l;
            right[frame] += r;
        }
    }
    size_t frames() const { return left.size(); }
    const double rate;
    std::vector<double> left, right;
};

void kick(Mix& mix, size_t at, double velocity, Noise& noise) {
    const size_t length = static_cast<size_t>(0.45 * mix.rate);
    HighPass click(2000.0, mix.rate);
    double phase = 0.0;
    for (size_t i = 0; i < length; ++i) {
        const double t = i / mix.rate;
        const double frequency = 46.0 + 120.0 * std::exp(-t / 0.028);
        phase += kTwoPi * frequency / mix.rate;
        const double body = std::sin(phase) * std::exp(-t / 0.22) * std::min(1.0, t / 0.001);
        const double transient = click.run(noise.next()) * std::exp(-t / 0.003) * 0.5;
        const double y = velocity * (0.95 * body + transient);
        mix.add(at + i, y, y);
    }
}

void snare(Mix& mix, size_t at, double velocity, Noise& noiseL, Noise& noiseR) {
    const size_t length = static_cast<size_t>(0.32 * mix.rate);
    HighPass hpL(1200.0, mix.rate), hpR(1200.0, mix.rate);
    for (size_t i = 0; i < length; ++i) {
        const double t = i / mix.rate;
        const double body = 0.55 * std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.055) +
                            0.25 * std::sin(kTwoPi * 330.0 * t) * std::exp(-t / 0.035);
        const double rattle = std::exp(-t / 0.11) * 0.65;
        const double l = body + rattle * hpL.run(noiseL.next());
        const double r = body + rattle * hpR.run(noiseR.next());
        mix.add(at + i, velocity * l, velocity * r);
    }
}

void hat(Mix& mix, size_t at, double velocity, double decay, Noise& noise) {
    const size_t length = static_cast<size_t>(6.0 * decay * mix.rate);
    HighPass first(6500.0, mix.rate), second(6500.0, mix.rate);
    for (size_t i = 0; i < length; ++i) {
        const double t = i / mix.rate;
        const double y = velocity * 0.45 * second.run(first.run(noise.next())) * std::exp(-t / decay);
        mix.add(at + i, 0.62 * y, 0.38 * y);
    }
}

// A detuned pair of saws over a sine sub, through a low-pass whose cutoff
// jumps at each note and falls back: the classic rolling bass.
void bassNote(Mix& mix, size_t at, size_t length, int midiNote, double velocity, double brightness) {
    const double frequency = 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
    const size_t release = static_cast<size_t>(0.03 * mix.rate);
    LowPass filterL, filterR;
    double p1 = 0.0, p2 = 0.37, sub = 0.0;
    for (size_t i = 0; i < length + release; ++i) {
        const double t = i / mix.rate;
        p1 += frequency * 1.004 / mix.rate;
        p2 += frequency * 0.996 / mix.rate;
        sub += kTwoPi * frequency / mix.rate;
        p1 -= std::floor(p1);
        p2 -= std::floor(p2);
        const double sawA = 2.0 * p1 - 1.0, sawB = 2.0 * p2 - 1.0;
        const double cutoff = 140.0 + brightness * 900.0 * std::exp(-t / 0.09);
        double envelope = std::min(1.0, t / 0.004);
        if (i >= length) envelope *= 1.0 - static_cast<double>(i - length) / release;
        const double l = filterL.run(0.8 * sawA + 0.2 * sawB, cutoff, mix.rate, 0.6);
        const double r = filterR.run(0.2 * sawA + 0.8 * sawB, cutoff, mix.rate, 0.6);
        const double s = 0.55 * std::sin(sub);
        mix.add(at + i, velocity * envelope * (0.5 * l + s), velocity * envelope * (0.5 * r + s));
    }
}

struct BassStep {
    int step, note, length;
};

}  // namespace

std::vector<double> synthesiseDemoLoop(double rate) {
    const double stepSeconds = 60.0 / kTempo / 4.0;
    const size_t frames = static_cast<size_t>(std::lround(kBars * kStepsPerBar * stepSeconds * rate));
    Mix mix(rate, frames);
    Noise kickNoise(0x1234567u), snareL(0x2345678u), snareR(0x3456789u), hats(0x456789Au);
    auto frameOf = [&](int bar, int step) {
        return static_cast<size_t>(std::lround((bar * kStepsPerBar + step) * stepSeconds * rate));
    };

    // Level of each part per bar: intro, groove in, two full bars, breakdown, fill.
    const double drums[kBars] = {0.0, 0.55, 1.0, 1.0, 0.0, 1.0};
    const double hatLevel[kBars] = {0.45, 0.7, 1.0, 1.0, 0.8, 1.0};
    const double bassLevel[kBars] = {0.35, 0.6, 0.85, 0.85, 0.5, 0.95};
    const BassStep line[] = {{0, 28, 6}, {6, 31, 4}, {10, 28, 3}, {13, 35, 3}};
    const BassStep turn[] = {{0, 28, 6}, {6, 31, 4}, {10, 33, 3}, {13, 38, 3}};

    for (int bar = 0; bar < kBars; ++bar) {
        for (int step = 0; step < kStepsPerBar; ++step) {
            const size_t at = frameOf(bar, step);
            if (step % 2 == 0 || bar >= 2) {
                const bool offbeat = step % 4 == 2;
                const bool open = step == 14 && bar % 2 == 1;
                const double accent = step % 2 == 0 ? (offbeat ? 1.0 : 0.7) : 0.4;
                hat(mix, at, hatLevel[bar] * accent, open ? 0.09 : 0.022, hats);
            }
            if (drums[bar] == 0.0) continue;
            if (step == 0 || step == 10) kick(mix, at, drums[bar], kickNoise);
            if (step == 4 || step == 12) snare(mix, at, drums[bar], snareL, snareR);
            if (step == 7 || step == 15) snare(mix, at, 0.22 * drums[bar], snareL, snareR);
        }
        const BassStep* notes = bar % 2 == 1 ? turn : line;
        for (int n = 0; n < 4; ++n) {
            const size_t at = frameOf(bar, notes[n].step);
            const size_t length = frameOf(bar, notes[n].step + notes[n].length) - at;
            bassNote(mix, at, length, notes[n].note, bassLevel[bar], bar == 4 ? 1.0 : 0.6);
        }
    }
    // The last beat: a snare roll that swells into the loop's loudest moment.
    for (int i = 0; i < 4; ++i)
        snare(mix, frameOf(kBars - 1, 12 + i), 0.7 + 0.25 * i, snareL, snareR);

    double peak = 0.0;
    for (size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(mix.left[i]), std::fabs(mix.right[i])});
    const double gain = peak > 0.0 ? 0.891 / peak : 1.0;  // peaks at -1 dBFS
    std::vector<double> interleaved(2 * frames);
    for (size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = gain * mix.left[i];
        interleaved[2 * i + 1] = gain * mix.right[i];
    }
    return interleaved;
}

std::vector<double> benchSignal(double seconds, double rate) {
    const std::vector<double> loop = synthesiseDemoLoop(rate);
    const size_t samples = 2 * static_cast<size_t>(std::lround(seconds * rate));
    std::vector<double> signal(samples);
    for (size_t i = 0; i < samples; ++i) signal[i] = loop[i % loop.size()];
    return signal;
}

}  // namespace render
