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

// For output positions first .. first + count - 1 along one axis: the first
// source index and the weights of each. A position's taps do not depend on
// which others are computed with it, so a picture made in parts is the same
// picture.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
    int widest = 0;
};

Taps taps(int sourceLength, double ratio, int first, int count)
{
    Taps t;
    const double widen = ratio < 1.0 ? 1.0 / ratio : 1.0;
    const double support = 2.0 * widen;
    t.widest = static_cast<int>(std::ceil(support)) * 2 + 1;
    t.first.resize(static_cast<std::size_t>(count));
    t.count.resize(static_cast<std::size_t>(count));
    t.weights.assign(static_cast<std::size_t>(count) * t.widest, 0.0);
    std::vector<double> w(static_cast<std::size_t>(t.widest));
    for (int n = 0; n < count; ++n) {
        const int i = first + n;
        const double centre = (i + 0.5) / ratio - 0.5;
        const int from = static_cast<int>(std::floor(centre - support)) + 1;
        const int to = static_cast<int>(std::ceil(centre + support)) - 1;
        std::fill(w.begin(), w.end(), 0.0);
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
            t.weights[static_cast<std::size_t>(n) * t.widest + j] =
                static_cast<float>(w[static_cast<std::size_t>(j)] / sum);
        t.first[static_cast<std::size_t>(n)] = lo;
        t.count[static_cast<std::size_t>(n)] = hi - lo + 1;
    }
    return t;
}

// std::lround clamped to 0..255, without a library call per channel: in double,
// v + 0.5 is exact for any float in range, so its floor rounds half away from
// zero as lround does.
unsigned char toByte(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<unsigned char>(static_cast<int>(static_cast<double>(v) + 0.5));
}

} // namespace

void resampleRows(const PixelRows& source, double ratio, int width, int height, int first, int count,
                  unsigned char* out)
{
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0 || !(ratio > 0.0))
        return;
    first = std::clamp(first, 0, height);
    count = std::clamp(count, 0, height - first);
    if (count == 0)
        return;
    const Taps across = taps(source.width, ratio, 0, width);
    const Taps down = taps(source.height, ratio, first, count);

    // The output is R, G, B whatever order the source keeps.
    const int red = source.bgr ? 2 : 0;
    const int blue = 2 - red;
    // Rows first into a wide intermediate, then columns, a whole row at a time
    // so that the inner loop runs along memory. Only the source rows these
    // output rows reach are widened.
    const int top = down.first.front();
    const int bottom = down.first.back() + down.count.back();
    const std::size_t rowLength = static_cast<std::size_t>(width) * 3;
    std::vector<float> wide(static_cast<std::size_t>(bottom - top) * rowLength);
    for (int y = top; y < bottom; ++y) {
        const unsigned char* row = source.row(y);
        float* dst = &wide[static_cast<std::size_t>(y - top) * rowLength];
        for (int x = 0; x < width; ++x) {
            const float* w = &across.weights[static_cast<std::size_t>(x) * across.widest];
            const unsigned char* px = row + across.first[static_cast<std::size_t>(x)] * 3;
            float first = 0, second = 0, third = 0;
            for (int j = 0; j < across.count[static_cast<std::size_t>(x)]; ++j, px += 3) {
                first += w[j] * px[0];
                second += w[j] * px[1];
                third += w[j] * px[2];
            }
            dst[x * 3 + red] = first;
            dst[x * 3 + 1] = second;
            dst[x * 3 + blue] = third;
        }
    }
    std::vector<float> sum(rowLength);
    for (int n = 0; n < count; ++n) {
        const float* w = &down.weights[static_cast<std::size_t>(n) * down.widest];
        const int from = down.first[static_cast<std::size_t>(n)] - top;
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (int j = 0; j < down.count[static_cast<std::size_t>(n)]; ++j) {
            const float wj = w[j];
            const float* row = &wide[static_cast<std::size_t>(from + j) * rowLength];
            for (std::size_t i = 0; i < rowLength; ++i)
                sum[i] += wj * row[i];
        }
        unsigned char* dst = out + static_cast<std::size_t>(n) * rowLength;
        for (std::size_t i = 0; i < rowLength; ++i)
            dst[i] = toByte(sum[i]);
    }
}

BmpImage resample(const BmpImage& source, double ratio, int width, int height)
{
    BmpImage out;
    if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0 || !(ratio > 0.0))
        return out;
    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    resampleRows(rowsOf(source), ratio, width, height, 0, height, out.rgb.data());
    return out;
}

int scaledSide(int drawnSide, double drawnAt, double scale)
{
    return static_cast<int>(std::ceil(drawnSide / drawnAt * scale)) + 1;
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
    // The layout size is the 1x picture's where there is one.
    const BmpImage& layout = oneX ? *oneX : *twoX;
    const double layoutScale = oneX ? 1.0 : 2.0;
    return resample(source, scale / sourceScale, scaledSide(layout.width, layoutScale, scale),
                    scaledSide(layout.height, layoutScale, scale));
}

} // namespace resources
