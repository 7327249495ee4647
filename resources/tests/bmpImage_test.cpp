#include "bmpImage.h"
#include "embeddedResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <vector>

namespace {

using resources::BmpImage;
using resources::decodeBmp24;
using resources::findEmbeddedBitmap;

struct Expected {
    int id;
    int width;
    int height;
    int frameHeight;
    int frames;
};

constexpr Expected kBitmaps[] = {
    {12128, 400, 309, 309, 1},  {12129, 106, 234, 78, 3},   {12151, 100, 43, 43, 1},
    {12152, 113, 46, 46, 1},    {12171, 114, 4674, 114, 41}, {12173, 114, 2394, 114, 21},
    {12177, 114, 6954, 114, 61}, {12181, 70, 490, 70, 7},   {12200, 400, 276, 276, 1},
    {12300, 400, 80, 80, 1},    {12301, 64, 6464, 64, 101}, {12302, 78, 60, 20, 3},
    {12303, 110, 100, 20, 5},   {12304, 76, 40, 20, 2},     {12305, 32, 44, 22, 2},
    {19991, 12, 56, 14, 4},     {19992, 12, 56, 14, 4},     {19993, 12, 56, 14, 4},
    {19994, 12, 56, 14, 4},     {19995, 12, 56, 14, 4},     {19996, 12, 56, 14, 4},
    {19997, 31, 70, 14, 5},     {19998, 12, 56, 14, 4},     {19999, 12, 56, 14, 4},
};

using Rgb = std::array<int, 3>;
constexpr double kPi = std::numbers::pi;

const BmpImage& decoded(int id)
{
    static std::map<int, BmpImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        const resources::EmbeddedBitmap* bitmap = findEmbeddedBitmap(id);
        BmpImage image;
        if (bitmap != nullptr)
            decodeBmp24(bitmap->data, bitmap->size, image);
        it = cache.emplace(id, std::move(image)).first;
    }
    return it->second;
}

Rgb pixelAt(const BmpImage& image, int x, int y)
{
    const std::size_t i = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {image.rgb[i], image.rgb[i + 1], image.rgb[i + 2]};
}

double luma(const Rgb& c)
{
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2];
}

double lumaAt(const BmpImage& image, double x, double y)
{
    return luma(pixelAt(image, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))));
}

std::vector<unsigned char> embeddedCopy(int id)
{
    const resources::EmbeddedBitmap* bitmap = findEmbeddedBitmap(id);
    if (bitmap == nullptr)
        return {};
    return {bitmap->data, bitmap->data + bitmap->size};
}

void put32(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void put16(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

// A hand-made 3 x 2 BMP: rows of 9 pixel bytes padded to 12.
std::vector<unsigned char> tinyBmp(bool topDown)
{
    std::vector<unsigned char> bytes(54 + 24, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 10, 54);
    put32(bytes, 14, 40);
    put32(bytes, 18, 3);
    put32(bytes, 22, topDown ? static_cast<std::uint32_t>(-2) : 2u);
    put16(bytes, 26, 1);
    put16(bytes, 28, 24);
    put32(bytes, 34, 24);
    // Stored rows: first the row that is at the bottom (bottom-up) or at the top (top-down).
    const unsigned char first[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};         // B,G,R triples
    const unsigned char second[9] = {10, 11, 12, 13, 14, 15, 16, 17, 18};
    std::copy(first, first + 9, bytes.begin() + 54);
    bytes[54 + 9] = 0xEE; // padding must be skipped, never read as a pixel
    std::copy(second, second + 9, bytes.begin() + 66);
    return bytes;
}

TEST(EmbeddedBitmaps, EveryResourceDecodesWithItsExactSizeAndWholeFrames)
{
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.id);
        const resources::EmbeddedBitmap* bitmap = findEmbeddedBitmap(e.id);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->id, e.id);
        BmpImage image;
        ASSERT_TRUE(decodeBmp24(bitmap->data, bitmap->size, image));
        EXPECT_EQ(image.width, e.width);
        EXPECT_EQ(image.height, e.height);
        EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(e.width) * e.height * 3);
        EXPECT_EQ(image.height % e.frameHeight, 0);
        EXPECT_EQ(image.height / e.frameHeight, e.frames);
    }
}

TEST(EmbeddedBitmaps, UnknownNumbersFindNothing)
{
    for (int id : {0, -1, 12127, 12130, 19990, 20000})
        EXPECT_EQ(findEmbeddedBitmap(id), nullptr) << id;
}

TEST(DecodeBmp24, ReadsBottomUpRowsWithPaddingIntoTopDownRgb)
{
    const auto bytes = tinyBmp(false);
    BmpImage image;
    ASSERT_TRUE(decodeBmp24(bytes.data(), bytes.size(), image));
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    const std::vector<unsigned char> expected = {12, 11, 10, 15, 14, 13, 18, 17, 16, 3, 2, 1, 6, 5, 4, 9, 8, 7};
    EXPECT_EQ(image.rgb, expected);
}

TEST(DecodeBmp24, ReadsTopDownRows)
{
    const auto bytes = tinyBmp(true);
    BmpImage image;
    ASSERT_TRUE(decodeBmp24(bytes.data(), bytes.size(), image));
    const std::vector<unsigned char> expected = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16};
    EXPECT_EQ(image.rgb, expected);
}

TEST(DecodeBmp24, RefusesTruncatedFilesAndLeavesTheOutputAlone)
{
    const auto bytes = embeddedCopy(12151);
    ASSERT_FALSE(bytes.empty());
    BmpImage image;
    image.width = 7;
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{13}, std::size_t{53}, std::size_t{54},
                            bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_FALSE(decodeBmp24(bytes.data(), cut, image)) << cut;
    }
    EXPECT_FALSE(decodeBmp24(nullptr, bytes.size(), image));
    EXPECT_EQ(image.width, 7);
    EXPECT_TRUE(image.rgb.empty());
}

TEST(DecodeBmp24, RefusesGarbage)
{
    std::vector<unsigned char> garbage(4096);
    std::uint32_t state = 12345;
    for (auto& b : garbage) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 16);
    }
    BmpImage image;
    EXPECT_FALSE(decodeBmp24(garbage.data(), garbage.size(), image));
    // Even behind a valid signature.
    garbage[0] = 'B';
    garbage[1] = 'M';
    EXPECT_FALSE(decodeBmp24(garbage.data(), garbage.size(), image));
}

TEST(DecodeBmp24, RefusesEachBadHeaderField)
{
    struct Corruption {
        const char* what;
        std::size_t at;
        int bytes;
        std::uint32_t value;
    };
    const auto good = tinyBmp(false);
    const Corruption cases[] = {
        {"signature", 0, 2, 0x4142},
        {"file size beyond the buffer", 2, 4, 1000},
        {"file size short of the pixels", 2, 4, 60},
        {"reserved", 6, 2, 1},
        {"pixel offset into the header", 10, 4, 40},
        {"pixel offset past the end", 10, 4, 70},
        {"pixel offset far out", 10, 4, 0xFFFFFFF0u},
        {"header size", 14, 4, 12},
        {"header size beyond the buffer", 14, 4, 0x7FFFFFFFu},
        {"zero width", 18, 4, 0},
        {"negative width", 18, 4, static_cast<std::uint32_t>(-3)},
        {"huge width", 18, 4, 0x7FFFFFFFu},
        {"zero height", 22, 4, 0},
        {"most negative height", 22, 4, 0x80000000u},
        {"height past the data", 22, 4, 3},
        {"planes", 26, 2, 2},
        {"32 bits per pixel", 28, 2, 32},
        {"8 bits per pixel", 28, 2, 8},
        {"run-length compression", 30, 4, 1},
        {"bitfields", 30, 4, 3},
        {"image size too small", 34, 4, 12},
        {"palette without room", 46, 4, 4},
        {"important colours past the palette", 50, 4, 1},
    };
    for (const Corruption& c : cases) {
        auto bytes = good;
        if (c.bytes == 2)
            put16(bytes, c.at, c.value);
        else
            put32(bytes, c.at, c.value);
        BmpImage image;
        EXPECT_FALSE(decodeBmp24(bytes.data(), bytes.size(), image)) << c.what;
    }
}

// The film-strip frames are cut from the panel, so outside the drawn control every pixel
// must be the panel's own, or the control would show a seam in the editor.
struct Place {
    int id;
    int left, top, width, height;
    double reach; // how far from the frame centre the control may paint
};

constexpr Place kKnobPlaces[] = {
    {12171, 143, 143, 114, 114, 44.0},
    {12173, 28, 143, 114, 114, 44.0},
    {12177, 258, 143, 114, 114, 44.0},
    {12181, 50, 50, 70, 70, 22.0},
};

TEST(Artwork, KnobFramesMatchThePanelOutsideTheKnob)
{
    const BmpImage& panel = decoded(12128);
    ASSERT_EQ(panel.width, 400);
    for (const Place& p : kKnobPlaces) {
        const BmpImage& strip = decoded(p.id);
        ASSERT_EQ(strip.width, p.width) << p.id;
        const int frames = strip.height / p.height;
        for (int k = 0; k < frames; ++k) {
            int checked = 0;
            for (int y = 0; y < p.height; ++y) {
                for (int x = 0; x < p.width; ++x) {
                    if (std::hypot(x + 0.5 - p.width / 2.0, y + 0.5 - p.height / 2.0) <= p.reach)
                        continue;
                    ++checked;
                    ASSERT_EQ(pixelAt(strip, x, k * p.height + y), pixelAt(panel, p.left + x, p.top + y))
                        << "id " << p.id << " frame " << k << " at " << x << "," << y;
                }
            }
            EXPECT_GT(checked, p.width * p.height / 4);
        }
    }
}

TEST(Artwork, MeterOverlayIsThePanelUnderIt)
{
    const BmpImage& panel = decoded(12128);
    const BmpImage& overlay = decoded(12152);
    ASSERT_EQ(overlay.width, 113);
    for (int y = 0; y < overlay.height; ++y)
        for (int x = 0; x < overlay.width; ++x)
            ASSERT_EQ(pixelAt(overlay, x, y), pixelAt(panel, 143 + x, 110 + y)) << x << "," << y;
}

// Luminance between pixel centres, so that directions can be measured finer than a pixel.
double smoothLumaAt(const BmpImage& image, double x, double y)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    auto at = [&](int px, int py) { return luma(pixelAt(image, px, py)); };
    return (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy)
           + (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
}

// The direction (clockwise from 12 o'clock) of the cream pointer line: the light-weighted
// mean angle of the bright stretch on a circle around the knob centre.
double pointerDirection(const BmpImage& strip, int frame, int size, double radius)
{
    const double c = size / 2.0;
    std::vector<double> light;
    for (int i = 0; i < 720; ++i) {
        const double rad = (i * 0.5 - 180.0) * kPi / 180.0;
        light.push_back(smoothLumaAt(strip, c + radius * std::sin(rad) - 0.5,
                                     frame * size + c - radius * std::cos(rad) - 0.5));
    }
    int brightest = 0;
    for (int i = 0; i < 720; ++i)
        if (light[i] > light[brightest])
            brightest = i;
    const double floor = *std::min_element(light.begin(), light.end());
    const double cut = (light[brightest] + floor) / 2;
    double weight = 0, sum = 0;
    for (int d = -40; d <= 40; ++d) {
        const double l = light[(brightest + d + 720) % 720];
        if (l > cut) {
            weight += l - cut;
            sum += (l - cut) * ((brightest + d) * 0.5 - 180.0);
        }
    }
    return sum / weight;
}

TEST(Artwork, KnobPointersTurnEvenlyThroughTheSweep)
{
    struct Knob {
        int id, size, frames;
        double radius;
    };
    for (const Knob& k : {Knob{12171, 114, 41, 17.0}, Knob{12173, 114, 21, 17.0}, Knob{12177, 114, 61, 17.0},
                          Knob{12181, 70, 7, 8.0}}) {
        const BmpImage& strip = decoded(k.id);
        ASSERT_EQ(strip.height, k.size * k.frames);
        const double first = pointerDirection(strip, 0, k.size, k.radius);
        const double last = pointerDirection(strip, k.frames - 1, k.size, k.radius);
        EXPECT_NEAR(first, -150.0, 2.0) << k.id;
        EXPECT_NEAR(last, 150.0, 2.0) << k.id;
        EXPECT_NEAR(last - first, 300.0, 2.0) << k.id;
        for (int f = 1; f < k.frames - 1; ++f) {
            const double expected = -150.0 + 300.0 * f / (k.frames - 1);
            EXPECT_NEAR(pointerDirection(strip, f, k.size, k.radius), expected, 2.0) << k.id << " frame " << f;
        }
    }
}

TEST(Artwork, RatioMarksOnThePanelLieWhereTheRatioKnobPoints)
{
    const BmpImage& panel = decoded(12128);
    for (int k = 0; k < 7; ++k) {
        const double a = (-150.0 + 50.0 * k) * kPi / 180.0;
        // Between the tick's ends, and a little beside it.
        const double onTick = lumaAt(panel, 85 + 20.0 * std::sin(a) - 0.5, 85 - 20.0 * std::cos(a) - 0.5);
        const double b = a + 12.0 * kPi / 180.0;
        const double beside = lumaAt(panel, 85 + 20.0 * std::sin(b) - 0.5, 85 - 20.0 * std::cos(b) - 0.5);
        EXPECT_GT(onTick, beside + 60.0) << "mark " << k;
    }
}

double meterDegrees(double reductionDb)
{
    return 120.0 - 60.0 * (1.0 - std::pow(10.0, -reductionDb / 20.0));
}

// The editor draws its needle from the pivot (200,155) at 120 - 60 v degrees; each printed mark
// must lie on the needle line for its value or the meter would read wrong.
TEST(Artwork, MeterMarksSitOnTheNeedleLineOfTheirValue)
{
    const BmpImage& face = decoded(12151);
    ASSERT_EQ(face.width, 100);
    auto lumaOnNeedle = [&](double degrees, double radius) {
        const double t = degrees * kPi / 180.0;
        return lumaAt(face, 200 + radius * std::cos(t) - 150, 155 - radius * std::sin(t) - 66);
    };
    for (double db : {0.0, 3.0, 6.0, 12.0, 24.0}) {
        const double theta = meterDegrees(db);
        const double mark = lumaOnNeedle(theta, 72.5);
        const double left = lumaOnNeedle(theta + 2.5, 72.5);
        const double right = lumaOnNeedle(theta - 2.5, 72.5);
        // Cream ink on the dark face: the mark is much lighter than the paper either side of it.
        EXPECT_GT(mark, left + 60.0) << db << " dB";
        EXPECT_GT(mark, right + 60.0) << db << " dB";
    }
    EXPECT_NEAR(meterDegrees(6.0), 90.0, 0.2);
}

TEST(Artwork, MeterFaceContrastsWithTheEditorsNeedle)
{
    const BmpImage& face = decoded(12151);
    const double needle = luma({170, 165, 160});
    int far = 0, total = 0;
    // Only where the needle can be seen: between radius 47 and 86 from the pivot.
    for (int y = 0; y < face.height; ++y) {
        for (int x = 0; x < face.width; ++x) {
            const double r = std::hypot(x + 150 - 200.0, y + 66 - 155.0);
            if (r < 47 || r > 86)
                continue;
            ++total;
            if (std::fabs(luma(pixelAt(face, x, y)) - needle) > 70.0)
                ++far;
        }
    }
    ASSERT_GT(total, 1000);
    EXPECT_GT(far, total * 85 / 100);
}

TEST(Artwork, ProcessSwitchLeverPointsAtValveClearOff)
{
    const BmpImage& strip = decoded(12129);
    // Lever tips for Valve, Clear and Off, in frame coordinates.
    const double cx = 53.0, cy = 48.0, length = 23.0;
    for (int k = 0; k < 3; ++k) {
        const double a = (-55.0 + 55.0 * k) * kPi / 180.0;
        const double tx = cx + length * std::sin(a) - 0.5;
        const double ty = cy - length * std::cos(a) - 0.5;
        const double own = lumaAt(strip, tx, ty + k * 78);
        for (int other = 0; other < 3; ++other) {
            if (other != k) {
                EXPECT_GT(own, lumaAt(strip, tx, ty + other * 78) + 40.0) << "frame " << k << " vs " << other;
            }
        }
    }
}

TEST(Artwork, SmallButtonStatesReadAsLitPressedAndDimmed)
{
    for (int id : {19991, 19992, 19993, 19994, 19995, 19996, 19998, 19999}) {
        const BmpImage& strip = decoded(id);
        ASSERT_EQ(strip.height, 56) << id;
        double mean[4] = {};
        for (int k = 0; k < 4; ++k) {
            double sum = 0;
            for (int y = 0; y < 14; ++y)
                for (int x = 0; x < 12; ++x)
                    sum += luma(pixelAt(strip, x, k * 14 + y));
            mean[k] = sum / (12 * 14);
        }
        EXPECT_GT(mean[1], mean[0] + 5.0) << id << ": hover is lit";
        EXPECT_LT(mean[3], mean[0] - 5.0) << id << ": inactive is dimmed";
        EXPECT_NE(mean[2], mean[0]) << id << ": pressed differs";
    }
}

TEST(Artwork, NameFieldIsTheExactFieldColour)
{
    const BmpImage& panel = decoded(12128);
    for (int y = 285; y < 299; ++y)
        for (int x = 138; x < 251; ++x)
            ASSERT_EQ(pixelAt(panel, x, y), (Rgb{207, 222, 235})) << x << "," << y;
}

TEST(Artwork, AboutLeavesTheVersionLineDarkAndFree)
{
    const BmpImage& about = decoded(12200);
    ASSERT_EQ(about.height, 276);
    double brightest = 0;
    for (int y = 70; y < 81; ++y)
        for (int x = 299; x < 340; ++x)
            brightest = std::max(brightest, luma(pixelAt(about, x, y)));
    // The version is printed in (200,200,200) there.
    EXPECT_LT(brightest, 80.0);
}

} // namespace
