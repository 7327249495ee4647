// The editor at other scales than 1: which factor is chosen, the size the
// host is told, pictures at 1, 1.5 and 2 of one state, the pictures of
// resampled factors against those made whole, what a second editor costs, and
// presses and drags counted in layout pixels.
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "editor/editorScale.h"
#include "editorTestSupport.h"
#include "formats/vst2/meterRequest.h"
#include "gui/scale.h"
#include "core/preferenceStore.h"
#include "resources/embeddedResources.h"
#include "resources/packedBitmap.h"
#include "resources/pictureCache.h"
#include "resources/resample.h"
#include "resources/scaledArtwork.h"

namespace editortest {
namespace {

TEST(ScaleChoice, ClampedToOneToThreeInQuartersWithTheSourcesInOrder) {
    EXPECT_EQ(gui::normalisedScale(1.3), 1.25);
    EXPECT_EQ(gui::normalisedScale(1.4), 1.5);
    EXPECT_EQ(gui::normalisedScale(0.5), 1.0);
    EXPECT_EQ(gui::normalisedScale(7.0), 3.0);
    EXPECT_EQ(gui::normalisedScale(0.0), 0.0) << "absent";
    EXPECT_EQ(gui::normalisedScale(-2.0), 0.0);
    EXPECT_EQ(gui::normalisedScale(std::nan("")), 0.0);
    EXPECT_EQ(gui::normalisedScale(INFINITY), 0.0);
    EXPECT_EQ(gui::chooseScale(1.5, 2.0, 3.0), 1.5);
    EXPECT_EQ(gui::chooseScale(0.0, 2.0, 3.0), 2.0);
    EXPECT_EQ(gui::chooseScale(0.0, 0.0, 3.0), 3.0);
    EXPECT_EQ(gui::chooseScale(0.0, std::nan(""), 0.0), 1.0);
    // Half-up rounding: a 309-pixel side at 1.5 is 464 pixels, and edges meet.
    EXPECT_EQ(gui::scaled(309, 1.5), 464);
    for (double s : {1.0, 1.25, 1.5, 2.0, 2.75, 3.0})
        for (int device = -7; device < 40; ++device) {
            const int layout = gui::unscaled(device, s);
            EXPECT_LE(gui::scaled(layout, s), device) << s << " " << device;
            EXPECT_GT(gui::scaled(layout + 1, s), device) << s << " " << device;
        }
}

// The override (environment above the stored value) beats the host, the host beats the desktop.
TEST(ScaleChoice, OverrideThenHostThenDesktop) {
    hl::resetHeadless();
    hl::memorySettingsStore().clear();
    unsetenv("KVBR_EDITOR_SCALE");
    EXPECT_EQ(decideEditorScale(0.0, nullptr), 1.0) << "nothing says anything";
    hl::setDesktopScale(2.0);
    EXPECT_EQ(decideEditorScale(0.0, nullptr), 2.0);
    EXPECT_EQ(decideEditorScale(1.5, nullptr), 1.5);
    writePreference(kEditorScalePreference, 2.5f);
    EXPECT_EQ(decideEditorScale(1.5, nullptr), 2.5);
    setenv("KVBR_EDITOR_SCALE", "1.25", 1);
    EXPECT_EQ(decideEditorScale(1.5, nullptr), 1.25);
    setenv("KVBR_EDITOR_SCALE", "big", 1);
    EXPECT_EQ(decideEditorScale(1.5, nullptr), 2.5) << "a wrong variable is ignored";
    writePreference(kEditorScalePreference, 0.0f);
    EXPECT_EQ(decideEditorScale(1.5, nullptr), 1.5) << "0 stored is automatic";
    unsetenv("KVBR_EDITOR_SCALE");
    hl::resetHeadless();
}

// A surface's pixels as the resampler takes them.
resources::BmpImage pixelsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    resources::BmpImage image;
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(data + y * stride)[x];
            image.rgb.insert(image.rgb.end(), {static_cast<unsigned char>(p >> 16),
                                               static_cast<unsigned char>(p >> 8),
                                               static_cast<unsigned char>(p)});
        }
    return image;
}

// Peak signal-to-noise ratio in dB of b against a (same size), over all channels.
double psnr(const resources::BmpImage& a, const resources::BmpImage& b) {
    double squares = 0.0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        const double d = double(a.rgb[i]) - double(b.rgb[i]);
        squares += d * d;
    }
    return 10.0 * std::log10(255.0 * 255.0 / (squares / static_cast<double>(a.rgb.size())));
}

// Mean size of the luminance steps between neighbours: how much fine detail a picture has.
double sharpness(const resources::BmpImage& image) {
    auto luma = [&](int x, int y) {
        const unsigned char* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
        return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
    };
    double sum = 0.0;
    for (int y = 0; y + 1 < image.height; ++y)
        for (int x = 0; x + 1 < image.width; ++x)
            sum += std::fabs(luma(x + 1, y) - luma(x, y)) + std::fabs(luma(x, y + 1) - luma(x, y));
    return sum / ((image.width - 1.0) * (image.height - 1.0));
}

// Picture `id` for `scale` made whole from the 2x artwork at once, as the
// editor made it before it made film-strip frames as they were drawn.
const resources::BmpImage& madeWhole(int id, double scale) {
    static std::map<std::pair<int, double>, resources::BmpImage> made;
    auto found = made.find({id, scale});
    if (found == made.end()) {
        const resources::EmbeddedBitmap* large = resources::findEmbeddedLargeBitmap(id);
        std::vector<unsigned char> bmp;
        resources::BmpImage twoX;
        if (large && resources::unpackBitmap(large->data, large->size, bmp))
            resources::decodeBmp24(bmp.data(), static_cast<unsigned long>(bmp.size()), twoX);
        found = made.emplace(std::pair{id, scale}, resources::pictureForScale(nullptr, &twoX, scale))
                    .first;
    }
    return found->second;
}

class EditorScale : public EditorTest {
protected:
    // True when the window at `scale` shows, over layout rectangle `r`, picture
    // `id` made whole for that scale from layout point `source` on.
    bool showsMadeWhole(const CRect& r, int id, double scale, CPoint source) {
        const resources::BmpImage& whole = madeWhole(id, scale);
        const int left = gui::scaled(r.left, scale), top = gui::scaled(r.top, scale);
        const int sx = gui::scaled(source.h, scale), sy = gui::scaled(source.v, scale);
        for (int y = 0; y < gui::scaled(r.bottom, scale) - top; ++y)
            for (int x = 0; x < gui::scaled(r.right, scale) - left; ++x) {
                if (sx + x >= whole.width || sy + y >= whole.height) return false;
                const unsigned char* p =
                    &whole.rgb[(static_cast<std::size_t>(sy + y) * whole.width + sx + x) * 3];
                const std::uint32_t expected = (std::uint32_t(p[0]) << 16) | (p[1] << 8) | p[2];
                if (window->pixel(left + x, top + y) != expected) return false;
            }
        return true;
    }
    // Reopens the editor as a host that asked for `scale`.
    void reopenAt(double scale) {
        editor->close();
        effect->dispatcher(vst2::effVendorSpecific, kvbr::kHostScaleIndex, kvbr::kHostScaleValue, nullptr,
                           static_cast<float>(scale));
        openEditor();
    }
    // The same state at every scale: settings, a name, the needle off its rest.
    resources::BmpImage pictureAt(double scale) {
        reopenAt(scale);
        effect->setMeterReading(0.3);
        for (int i = 0; i < 4; ++i) idle();
        return pixelsOf(window->surface());
    }
    void SetUp() override {
        EditorTest::SetUp();
        hl::scriptedInput().setPointer(platform::Point{-1000, -1000});  // no hover pictures
        for (auto [index, value] : {std::pair{0, 1.0f}, {2, 0.8f}, {4, 0.3f}, {5, 0.75f}, {6, 0.2f}})
            effect->setParameter(index, value);
    }
    // A press on the layout point (x, y) of a window at `scale`.
    void pressAt(int x, int y, double scale) {
        press(gui::scaled(x, scale), gui::scaled(y, scale));
        later();
    }
};

TEST_F(EditorScale, TheHostsRequestSizesTheWindowAndTheRectangle) {
    vst2::ERect* r = nullptr;
    for (auto [scale, width, height] : {std::tuple{2.0, 800, 618}, {1.5, 600, 464}, {1.0, 400, 309}}) {
        reopenAt(scale);
        EXPECT_EQ(editor->getFrame()->getScale(), scale);
        ASSERT_EQ(effect->dispatcher(vst2::effEditGetRect, 0, 0, &r, 0.0f), 1);
        EXPECT_EQ(r->right - r->left, width);
        EXPECT_EQ(r->bottom - r->top, height);
        EXPECT_EQ(cairo_image_surface_get_width(window->surface()), width);
        EXPECT_EQ(cairo_image_surface_get_height(window->surface()), height);
    }
    // Before the next opening the host learns the size it will get.
    editor->close();
    effect->dispatcher(vst2::effVendorSpecific, kvbr::kHostScaleIndex, kvbr::kHostScaleValue, nullptr, 3.0f);
    ASSERT_EQ(effect->dispatcher(vst2::effEditGetRect, 0, 0, &r, 0.0f), 1);
    EXPECT_EQ(r->right, 1200);
    EXPECT_EQ(r->bottom, 927);
    openEditor();
}

// The 2x picture, reduced, is the 1x picture; yet it holds detail an enlarged 1x picture lacks.
TEST_F(EditorScale, TwiceTheSizeIsTheSamePictureWithTwiceTheDetail) {
    const resources::BmpImage one = pictureAt(1.0);
    const resources::BmpImage half = pictureAt(1.5);
    const resources::BmpImage two = pictureAt(2.0);
    const std::string dir = KVBR_TEST_OUTPUT_DIR;
    ASSERT_EQ(half.width, 600);
    ASSERT_EQ(half.height, 464);
    ASSERT_EQ(two.width, 800);

    const double reducedTwo = psnr(one, resources::resample(two, 0.5, 400, 309));
    const double reducedHalf = psnr(one, resources::resample(half, 1.0 / 1.5, 400, 309));
    const double sharp = sharpness(two);
    const double enlargedOne = sharpness(resources::resample(one, 2.0, 800, 618));
    std::printf("2x reduced to 1x: PSNR %.1f dB; 1.5x reduced: %.1f dB; sharpness 2x %.2f, "
                "1x enlarged %.2f (ratio %.2f)\n",
                reducedTwo, reducedHalf, sharp, enlargedOne, sharp / enlargedOne);
    EXPECT_GT(reducedTwo, 25.0);
    EXPECT_GT(reducedHalf, 25.0);
    EXPECT_GT(sharp, 1.3 * enlargedOne);
}

// Only the film-strip frames drawn are made, yet every picture shows what the
// picture made whole shows: the panel, the switch and the knobs, at 1.5 every
// frame of every knob.
TEST_F(EditorScale, ResampledFactorsShowThePicturesMadeWhole) {
    for (double scale : {1.25, 1.5, 3.0}) {
        SCOPED_TRACE(scale);
        reopenAt(scale);
        EXPECT_TRUE(showsMadeWhole(CRect(0, 0, 400, 22), 12128, scale, CPoint(0, 0))) << "panel";
        CHorizontalSwitch* process = editor->getProcessSwitch();
        const int position = static_cast<int>(2.0f * process->getValue() + 0.5f);
        EXPECT_TRUE(showsMadeWhole(process->getSize(), 12129, scale,
                                   CPoint(0, position * process->getHeightOfOneImage())));
        // The big strips made whole cost a second or more at the other factors.
        const std::vector<int> knobs = scale == 1.5 ? std::vector<int>{ADEditor::kTimeTag,
                                                                       ADEditor::kCompressionTag,
                                                                       ADEditor::kOutputTag,
                                                                       ADEditor::kRatioTag}
                                                    : std::vector<int>{ADEditor::kRatioTag};
        for (int tag : knobs) {
            CAnimKnob3* knob = editor->getKnob(tag);
            const int strip = knob->getBackground()->getResourceID();
            const int frames = scale == 1.5 ? knob->getSubPixmaps() : 1;
            for (int frame = 0; frame < frames; ++frame) {
                if (frames > 1) {
                    knob->setValue(static_cast<float>(frame) / static_cast<float>(frames - 1));
                    idle();
                    ASSERT_EQ(knob->frameIndex(), frame);
                }
                EXPECT_TRUE(showsMadeWhole(
                    knob->getSize(), strip, scale,
                    CPoint(0, knob->frameIndex() * knob->getHeightOfOneImage())))
                    << "knob " << tag << ", frame " << knob->frameIndex();
            }
        }
    }
}

// What the first editor made is kept for the process: the same editor opened
// again and the editor of a second instance make nothing more. What is kept is
// pixels, not bitmaps: nothing of it counts among the live native bitmaps.
TEST_F(EditorScale, ASecondEditorDrawsFromWhatTheFirstMade) {
    // No other test opens at 1.75, so the Output strip's picture is this test's.
    constexpr double kScale = 1.75;
    reopenAt(kScale);
    const auto output = resources::sharedPicture(12177, kScale, &resources::embeddedArtworkToScale);
    ASSERT_NE(output, nullptr);
    EXPECT_GT(output->rowsMade(), 0);
    EXPECT_LE(output->rowsMade(), 2 * gui::scaled(114, kScale)) << "the frame shown, not 61";
    const long made = resources::pictureCacheContents().rowsResampled;

    reopenAt(kScale);
    EXPECT_EQ(resources::pictureCacheContents().rowsResampled, made) << "opened again";

    const int bitmapsBefore = hl::liveNativeBitmaps();
    const int objectsBefore = CReferenceCounter::liveObjects();
    {
        MeterEffect second;
        for (auto [index, value] : {std::pair{0, 1.0f}, {2, 0.8f}, {4, 0.3f}, {5, 0.75f}, {6, 0.2f}})
            second.setParameter(index, value);
        auto* other = second.view();
        other->setHostScale(kScale);
        int otherParent = 0;
        ASSERT_TRUE(other->open(&otherParent));
        hl::lastWindow()->processEvents();
        other->idle();
        EXPECT_EQ(hl::lastWindow()->pixel(gui::scaled(100, kScale), gui::scaled(200, kScale)),
                  window->pixel(gui::scaled(100, kScale), gui::scaled(200, kScale)))
            << "the same picture of the same state";
        EXPECT_EQ(resources::pictureCacheContents().rowsResampled, made) << "a second instance";
        EXPECT_GT(hl::liveNativeBitmaps(), bitmapsBefore);
    }
    EXPECT_EQ(hl::liveNativeBitmaps(), bitmapsBefore);
    EXPECT_EQ(CReferenceCounter::liveObjects(), objectsBefore);
    EXPECT_GT(resources::pictureCacheContents().pictures, 0);
}

TEST_F(EditorScale, PressesAndDragsCountInLayoutPixels) {
    // A 100-pixel drag to the right at 1x and a 200-pixel one at 2x turn Time alike.
    float turned[2] = {};
    int k = 0;
    for (double scale : {1.0, 2.0}) {
        reopenAt(scale);
        effect->setParameter(4, 0.3f);
        idle();  // the knob shows it
        const int x = gui::scaled(85, scale), y = gui::scaled(200, scale);
        const int to = x + gui::scaled(100, scale);
        gesture(x, y, kLButton, {{kLButton, to, y}, {0, to, y, 1}});
        later();
        turned[k++] = parameter(4);
    }
    EXPECT_GT(turned[0], 0.45f);
    EXPECT_EQ(turned[1], turned[0]);

    // The name field's edit box and the preset list open over what they belong to, sized.
    hl::scriptEditBox("Wide", hl::EditEnd::enter);
    pressAt(194, 292, 2.0);
    EXPECT_EQ(hl::lastEditBox().rect.left, 276);
    EXPECT_EQ(hl::lastEditBox().rect.bottom, 598);
    EXPECT_EQ(hl::lastEditBox().fontHeight, 22) << "11 pixels at 1x";
    idle();
    pressAt(259, 292, 2.0);
    ASSERT_GT(hl::menusShown(), 0);
    EXPECT_EQ(hl::lastMenu().where.x, screen(508, 0).x) << "under the arrow's left edge";
    EXPECT_EQ(hl::lastMenu().where.y, screen(0, 598).y);

    // The switch's thirds at 1.5 end where they end at 1x: Valve, Clear, Off from the left.
    reopenAt(1.5);
    for (auto [x, expected] : {std::pair{262, 1.0f}, {297, 1.0f}, {298, 0.5f}, {332, 0.5f},
                               {333, 0.0f}, {367, 0.0f}}) {
        effect->setParameter(0, 0.25f);
        idle();
        pressAt(x, 90, 1.5);
        EXPECT_EQ(parameter(0), expected) << x;
    }
}

}  // namespace
}  // namespace editortest
