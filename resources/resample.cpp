#include "resample.h"

#include <algorithm>
#include <cmath>

namespace resources {

namespace {

double catmullRom(double x)
{
    x = std::fabs(x);
    if (x < 1.0)
        return 1.5 * x * x * x - 2.5 * x * x + 1.0;
    if (x < 2.0)
        return -0.5 * x * x * x + 2.5 * x * x - 4.0 * x + 2.0;
    return 0.0;
}

// For each output position along one axis: the first source index and the weights.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
    int widest = 0;
};

Taps taps(int sourceLength, int length, double ratio)
{
    Taps t;
    const double widen = ratio < 1.0 ? 1.0 / ratio : 1.0;
    const double support = 2.0 * widen;
    t.widest = static_cast<int>(std::ceil(support)) * 2 + 1;
    t.first.resize(static_cast<std::size_t>(length));
    t.count.resize(static_cast<std::size_t>(length));
    t.weights.assign(static_cast<std::size_t>(length) * t.widest, 0.0);
    for (int i = 0; i < length; ++i) {
        const double centre = (i + 0.5) / ratio - 0.5;
        const int from = static_cast<int>(std::floor(centre - support)) + 1;
        const int to = static_cast<int>(std::ceil(centre + support)) - 1;
        std::vector<double> w(static_cast<std::size_t>(t.widest), 0.0);
        // Taps beyond an edge fold onto the edge pixel.
        const int lo = std::clamp(from, 0, sourceLength - 1);
        const int hi = std::clamp(to, 0, sourceLength - 1);
        double sum = 0.0;
        for (int s = from; s <= to; ++s) {
            const double k = catmullRom((s - centre) / widen);
            w[static_cast<std::size_t>(std::clamp(s, 0, sourceLength - 1) - lo)] += k;
            sum += k;
        }
        for (int j = 0; j <= hi - lo; ++j)
            t.weights[static_cast<std::size_t>(i) * t.widest + j] =
                static_cast<float>(w[static_cast<std::size_t>(j)] / sum);
        t.first[static_cast<std::size_t>(i)] = lo;
        t.count[static_cast<std::size_t>(i)] = hi - lo + 1;
    }
    return t;
}

} // namespace

BmpImage resample(const BmpImage& source, double ratio, int width, int height)
{
    BmpImage out;
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0 || !(ratio > 0.0))
        return out;
    const Taps across = taps(source.width, width, ratio);
    const Taps down = taps(source.height, height, ratio);

    // Rows first into a wide intermediate, then columns, a whole row at a time
    // so that the inner loop runs along memory.
    const std::size_t rowLength = static_cast<std::size_t>(width) * 3;
    std::vector<float> wide(static_cast<std::size_t>(source.height) * rowLength);
    for (int y = 0; y < source.height; ++y) {
        const unsigned char* row = &source.rgb[static_cast<std::size_t>(y) * source.width * 3];
        float* dst = &wide[static_cast<std::size_t>(y) * rowLength];
        for (int x = 0; x < width; ++x) {
            const float* w = &across.weights[static_cast<std::size_t>(x) * across.widest];
            const unsigned char* px = row + across.first[static_cast<std::size_t>(x)] * 3;
            float r = 0, g = 0, b = 0;
            for (int j = 0; j < across.count[static_cast<std::size_t>(x)]; ++j, px += 3) {
                r += w[j] * px[0];
                g += w[j] * px[1];
                b += w[j] * px[2];
            }
            dst[x * 3] = r;
            dst[x * 3 + 1] = g;
            dst[x * 3 + 2] = b;
        }
    }
    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<std::size_t>(height) * rowLength);
    std::vector<float> sum(rowLength);
    for (int y = 0; y < height; ++y) {
        const float* w = &down.weights[static_cast<std::size_t>(y) * down.widest];
        const int first = down.first[static_cast<std::size_t>(y)];
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int j = 0; j < down.count[static_cast<std::size_t>(y)]; ++j) {
            const float wj = w[j];
            const float* from = &wide[static_cast<std::size_t>(first + j) * rowLength];
            for (std::size_t i = 0; i < rowLength; ++i)
                sum[i] += wj * from[i];
        }
        unsigned char* dst = &out.rgb[static_cast<std::size_t>(y) * rowLength];
        for (std::size_t i = 0; i < rowLength; ++i)
            dst[i] = static_cast<unsigned char>(std::clamp(std::lround(sum[i]), 0L, 255L));
    }
    return out;
}

BmpImage pictureForScale(const BmpImage* oneX, const BmpImage* twoX, double scale)
{
    if (twoX && (twoX->width <= 0 || twoX->height <= 0))
        twoX = nullptr;
    if (oneX && (oneX->width <= 0 || oneX->height <= 0))
        oneX = nullptr;
    if (!(scale > 0.0) || (!oneX && !twoX))
        return {};
    if (twoX && scale == 2.0)
        return *twoX;
    if (oneX && scale == 1.0)
        return *oneX;
    const BmpImage& source = twoX ? *twoX : *oneX;
    const double sourceScale = twoX ? 2.0 : 1.0;
    const double layoutWidth = oneX ? oneX->width : twoX->width / 2.0;
    const double layoutHeight = oneX ? oneX->height : twoX->height / 2.0;
    return resample(source, scale / sourceScale, static_cast<int>(std::ceil(layoutWidth * scale)) + 1,
                    static_cast<int>(std::ceil(layoutHeight * scale)) + 1);
}

} // namespace resources
