// Pictures for other scales made row by row as they are drawn: the same pixels
// as the whole picture made at once, and one picture per process however many
// editors ask for it at the same time.
#include "bmpImage.h"
#include "embeddedResources.h"
#include "packedBitmap.h"
#include "pictureCache.h"
#include "resample.h"
#include "scaledArtwork.h"
#include "scaledPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// The whole picture for `scale` made at once from the unpacked 2x artwork, as
// the editor made it before it made frames as they were drawn.
resources::BmpImage wholePicture(int id, double scale)
{
    const resources::EmbeddedBitmap* large = resources::findEmbeddedLargeBitmap(id);
    std::vector<unsigned char> bmp;
    resources::BmpImage twoX;
    if (large && resources::unpackBitmap(large->data, large->size, bmp))
        resources::decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), twoX);
    return resources::pictureForScale(nullptr, &twoX, scale);
}

// Picture rows of frame `frame` of a strip of `frameHeight`-row frames (1x), as
// a film-strip control asks for them: from its top rounded half up, one more
// row than the frame's rounded height, as draws whose edges were rounded up do.
struct Band {
    int first;
    int count;
};
Band frameRows(int frame, int frameHeight, double scale)
{
    const int top = static_cast<int>(std::floor(frame * frameHeight * scale + 0.5));
    const int bottom = static_cast<int>(std::floor((frame + 1) * frameHeight * scale + 0.5));
    return {top, bottom - top + 1};
}

bool sameRows(const unsigned char* rows, const resources::BmpImage& whole, Band band)
{
    const std::size_t rowBytes = static_cast<std::size_t>(whole.width) * 3;
    const int count = std::min(band.count, whole.height - band.first);
    return std::memcmp(rows, whole.rgb.data() + band.first * rowBytes, count * rowBytes) == 0;
}

std::shared_ptr<const resources::Artwork> artwork(int id)
{
    auto made = std::make_shared<resources::Artwork>();
    return resources::embeddedArtworkToScale(id, *made) ? made : nullptr;
}

TEST(ScaledPicture, FramesMadeOneByOneAreThoseOfTheWholeStrip)
{
    struct Strip {
        int id, frameHeight, frames;
    };
    // The ratio knob and the process switch: pictures from the BMP file as it
    // lies unpacked, against the whole strip decoded and then resampled.
    for (const Strip strip : {Strip{12181, 70, 7}, Strip{12129, 78, 3}})
        for (double scale : {1.25, 1.5, 2.0, 3.0}) {
            SCOPED_TRACE(::testing::Message() << strip.id << " at " << scale);
            const auto source = artwork(strip.id);
            ASSERT_NE(source, nullptr);
            resources::ScaledPicture picture(source, scale);
            const resources::BmpImage whole = wholePicture(strip.id, scale);
            ASSERT_EQ(picture.width(), whole.width);
            ASSERT_EQ(picture.height(), whole.height);

            // Out of order, the last frame first, each with the frame it overlaps.
            for (int i = 0; i < strip.frames; ++i) {
                const int frame = (strip.frames - 1 + 2 * i) % strip.frames;
                const Band band = frameRows(frame, strip.frameHeight, scale);
                EXPECT_TRUE(sameRows(picture.rows(band.first, band.count), whole, band)) << frame;
                if (i == 0) {
                    EXPECT_EQ(picture.rowsMade(), std::min(band.count, whole.height - band.first))
                        << "only the frame drawn is made";
                }
            }
            EXPECT_TRUE(sameRows(picture.rows(0, picture.height()), whole, {0, whole.height}))
                << "and the rows below the last frame";
            EXPECT_EQ(picture.rowsMade(), picture.height()) << "each row made once";
            EXPECT_EQ(picture.rowsResampled(), scale == 2.0 ? 0 : picture.height());
        }
}

TEST(PictureCache, EditorsOnTwoThreadsShareOnePictureAndMakeEachRowOnce)
{
    // Two editors of two plug-in instances opening on two host threads: one
    // asks for the frames top down, the other bottom up, at the same time.
    constexpr int kId = 12181, kFrameHeight = 70, kFrames = 7;
    constexpr double kScale = 2.75;
    std::shared_ptr<resources::ScaledPicture> got[2];
    std::vector<bool> same[2];
    auto editor = [&](int which) {
        got[which] = resources::sharedPicture(kId, kScale, &resources::embeddedArtworkToScale);
        if (!got[which])
            return;
        const resources::BmpImage whole = wholePicture(kId, kScale);
        for (int i = 0; i < kFrames; ++i) {
            const int frame = which == 0 ? i : kFrames - 1 - i;
            const Band band = frameRows(frame, kFrameHeight, kScale);
            same[which].push_back(sameRows(got[which]->rows(band.first, band.count), whole, band));
        }
    };
    std::thread first(editor, 0), second(editor, 1);
    first.join();
    second.join();
    ASSERT_NE(got[0], nullptr);
    EXPECT_EQ(got[0], got[1]);
    EXPECT_EQ(same[0], std::vector<bool>(kFrames, true));
    EXPECT_EQ(same[1], std::vector<bool>(kFrames, true));
    EXPECT_EQ(got[0]->rowsMade(), got[0]->height()) << "no row made twice";

    const resources::PictureCacheContents contents = resources::pictureCacheContents();
    EXPECT_GE(contents.rowsMade, got[0]->height());
    EXPECT_GT(contents.bytes, static_cast<std::size_t>(got[0]->width()) * got[0]->height() * 3);
    EXPECT_EQ(resources::sharedPicture(12345, kScale, &resources::embeddedArtworkToScale), nullptr)
        << "a number without artwork";
}

} // namespace
