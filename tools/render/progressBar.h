// A progress bar on standard error for renders that take more than a second.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace render {

class ProgressBar {
public:
    using Clock = std::function<double()>;  // seconds from any fixed point

    // Draws nothing unless `enabled`; width is the terminal's.
    ProgressBar(std::FILE* out, bool enabled, std::int64_t total, double framesPerSecond,
                int width = 80, Clock clock = steadySeconds);
    ~ProgressBar();

    // Redraws at most ten times a second, and only once a second has passed,
    // so short renders stay quiet.
    void update(std::int64_t done);
    // Removes the bar, leaving the terminal line clean for the summary.
    void finish();
    bool hasDrawn() const { return drawn; }

    // The line for a state, without the carriage return.
    static std::string line(std::int64_t done, std::int64_t total, double framesPerSecond,
                            double elapsed, int width);
    static double steadySeconds();

private:
    std::FILE* out;
    bool enabled;
    std::int64_t total;
    double rate;
    int width;
    Clock clock;
    double started;
    double lastDraw = -1.0;
    bool drawn = false;
};

}  // namespace render
