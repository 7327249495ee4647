#include "bmpImage.h"
#include "embeddedResources.h"
#include "packedBitmap.h"
#include "resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kIds[] = {12128, 12129, 12151, 12152, 12171, 12173, 12177, 12181, 12200,
                        12300, 12301, 12302, 12303, 12304, 12305,
                        19991, 19992, 19993, 19994, 19995, 19996, 19997, 19998, 19999};

resources::BmpImage largePicture(int id, std::vector<unsigned char>* packed = nullptr)
{
    resources::BmpImage image;
    const resources::EmbeddedBitmap* large = resources::findEmbeddedLargeBitmap(id);
    std::vector<unsigned char> bmp;
    if (large && packed)
        packed->assign(large->data, large->data + large->size);
    if (large && resources::unpackBitmap(large->data, large->size, bmp))
        resources::decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), image);
    return image;
}

// Every 2x picture is there, unpacks, and is exactly twice its 1x picture, so
// that frames and places scale without a remainder.
TEST(PackedArtwork, EveryPictureIsTwiceItsSmallOne)
{
    for (int id : kIds) {
        const resources::EmbeddedBitmap* small = resources::findEmbeddedBitmap(id);
        resources::BmpImage one;
        ASSERT_TRUE(small && resources::decodeBmp24(small->data, small->size, one)) << id;
        const resources::BmpImage two = largePicture(id);
        EXPECT_EQ(two.width, 2 * one.width) << id;
        EXPECT_EQ(two.height, 2 * one.height) << id;
    }
}

TEST(PackedArtwork, DamagedDataIsRefusedAndLeavesTheOutputAlone)
{
    std::vector<unsigned char> packed;
    ASSERT_GT(largePicture(12171, &packed).width, 0) << "a strip packed frame against frame";
    std::vector<unsigned char> out{1, 2, 3};
    auto refused = [&](std::vector<unsigned char> bytes) {
        return !resources::unpackBitmap(bytes.data(), static_cast<unsigned long>(bytes.size()), out)
               && out == std::vector<unsigned char>{1, 2, 3};
    };
    EXPECT_TRUE(refused(std::vector<unsigned char>(packed.begin(), packed.begin() + packed.size() / 2)));
    EXPECT_TRUE(refused(std::vector<unsigned char>(packed.begin(), packed.begin() + 11)));
    std::vector<unsigned char> wrong = packed;
    wrong[0] = 'X';
    EXPECT_TRUE(refused(wrong));
    wrong = packed;
    wrong[8] ^= 1;  // another unpacked size than the stream holds
    EXPECT_TRUE(refused(wrong));
    wrong = packed;
    wrong[11] = 0x7F;  // far more than any picture
    EXPECT_TRUE(refused(wrong));
    wrong = packed;
    wrong[packed.size() / 2] ^= 0x55;
    EXPECT_TRUE(refused(wrong));
    EXPECT_FALSE(resources::unpackBitmap(nullptr, 100, out));
}

TEST(Resampling, SizesAndFlatColourAtAnyScale)
{
    resources::BmpImage flat{10, 6, std::vector<unsigned char>(10 * 6 * 3, 0)};
    for (std::size_t i = 0; i < flat.rgb.size(); i += 3)
        flat.rgb[i] = 200, flat.rgb[i + 1] = 100, flat.rgb[i + 2] = 7;
    resources::BmpImage doubled{20, 12, {}};
    doubled.rgb.assign(20 * 12 * 3, 0);
    for (std::size_t i = 0; i < doubled.rgb.size(); i += 3)
        doubled.rgb[i] = 200, doubled.rgb[i + 1] = 100, doubled.rgb[i + 2] = 7;
    EXPECT_EQ(resources::pictureForScale(&flat, &doubled, 2.0).rgb, doubled.rgb) << "2x as it is";
    EXPECT_EQ(resources::pictureForScale(&flat, nullptr, 1.0).rgb, flat.rgb);
    for (double scale : {1.25, 1.5, 2.0, 3.0}) {
        const resources::BmpImage made = resources::pictureForScale(&flat, nullptr, scale);
        EXPECT_EQ(made.width, static_cast<int>(std::ceil(10 * scale)) + 1) << scale;
        EXPECT_EQ(made.height, static_cast<int>(std::ceil(6 * scale)) + 1) << scale;
        for (std::size_t i = 0; i < made.rgb.size(); i += 3)
            ASSERT_TRUE(made.rgb[i] == 200 && made.rgb[i + 1] == 100 && made.rgb[i + 2] == 7) << scale;
    }
    EXPECT_EQ(resources::pictureForScale(nullptr, nullptr, 1.5).width, 0);
    EXPECT_EQ(resources::resample(flat, 0.0, 5, 5).width, 0);
}

} // namespace
