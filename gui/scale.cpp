#include "scale.h"

#include <cmath>
#include <initializer_list>

namespace gui {

int scaled(int layout, double scale) {
    return static_cast<int>(std::floor(static_cast<double>(layout) * scale + 0.5));
}

int unscaled(int device, double scale) {
    if (scale == 1.0) return device;
    // The largest layout pixel L with scaled(L) <= device.
    return static_cast<int>(std::ceil((static_cast<double>(device) + 0.5) / scale)) - 1;
}

double normalisedScale(double requested) {
    if (!(requested > 0.0) || !std::isfinite(requested)) return 0.0;
    const double clamped = std::fmin(std::fmax(requested, kSmallestScale), kLargestScale);
    return std::round(clamped * 4.0) / 4.0;
}

double chooseScale(double userOverride, double hostRequest, double desktop) {
    for (double source : {userOverride, hostRequest, desktop})
        if (const double s = normalisedScale(source); s > 0.0) return s;
    return 1.0;
}

}  // namespace gui
