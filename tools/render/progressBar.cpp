#include "progressBar.h"

#include <algorithm>
#include <chrono>

namespace render {

ProgressBar::ProgressBar(std::FILE* out, bool enabled, std::int64_t total, double framesPerSecond,
                         int width, Clock clock)
    : out(out),
      enabled(enabled && out),
      total(total),
      rate(framesPerSecond),
      width(std::clamp(width, 40, 200)),
      clock(std::move(clock)),
      started(this->clock()) {}

ProgressBar::~ProgressBar() { finish(); }

double ProgressBar::steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string ProgressBar::line(std::int64_t done, std::int64_t total, double framesPerSecond,
                              double elapsed, int width) {
    const double fraction = total > 0 ? std::clamp(static_cast<double>(done) / total, 0.0, 1.0) : 0.0;
    const double audioSeconds = framesPerSecond > 0.0 ? done / framesPerSecond : 0.0;
    const double totalSeconds = framesPerSecond > 0.0 ? total / framesPerSecond : 0.0;
    char tail[96];
    std::snprintf(tail, sizeof(tail), " %3d%%  %.1f / %.1f s  %.0fx", static_cast<int>(fraction * 100.0),
                  audioSeconds, totalSeconds, elapsed > 0.0 ? audioSeconds / elapsed : 0.0);
    const int barWidth = std::max(10, width - 1 - 2 - static_cast<int>(std::string(tail).size()));
    const int filled = static_cast<int>(fraction * barWidth + 0.5);
    std::string bar(1, '[');
    bar.append(filled, '#');
    bar.append(barWidth - filled, '.');
    bar += ']';
    bar += tail;
    return bar;
}

void ProgressBar::update(std::int64_t done) {
    if (!enabled) return;
    const double now = clock();
    const double elapsed = now - started;
    if (elapsed < 1.0 || (lastDraw >= 0.0 && now - lastDraw < 0.1)) return;
    lastDraw = now;
    std::fprintf(out, "\r%s", line(done, total, rate, elapsed, width).c_str());
    std::fflush(out);
    drawn = true;
}

void ProgressBar::finish() {
    if (!drawn) return;
    std::fprintf(out, "\r%s\r", std::string(width - 1, ' ').c_str());
    std::fflush(out);
    drawn = false;
}

}  // namespace render
