// A small editor drawn headless and saved as a PNG, for a person to look at:
// a background picture, a three-position switch and a text field.
#include <cmath>

#include "guiTestSupport.h"

using namespace guitest;

namespace {

// A dark brushed panel with a lighter strip for the text field.
std::vector<unsigned char> panel(int width, int height) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const int grain = static_cast<int>(6 * std::sin(x * 0.9 + y * 0.07));
            const bool strip = y >= 70 && y < 90;
            p[0] = static_cast<unsigned char>((strip ? 207 : 52) + grain);
            p[1] = static_cast<unsigned char>((strip ? 222 : 56) + grain);
            p[2] = static_cast<unsigned char>((strip ? 235 : 62) + grain);
        }
    return rgb;
}

// Three 60 x 30 pictures of a lever pointing left, up and right.
std::vector<unsigned char> switchStrip() {
    const int w = 60, h = 30;
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3 * 3);
    for (int frame = 0; frame < 3; ++frame)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                unsigned char* p = &rgb[(static_cast<std::size_t>(frame * h + y) * w + x) * 3];
                const double dx = x - 30, dy = y - 22;
                const bool plate = std::abs(dx) < 28 && std::abs(y - 15) < 13;
                const double tipX = 30 + (frame - 1) * 14, tipY = frame == 1 ? 4 : 9;
                // Distance from the lever's line, pivot to tip.
                const double lx = tipX - 30, ly = tipY - 22;
                const double t = std::clamp((dx * lx + dy * ly) / (lx * lx + ly * ly), 0.0, 1.0);
                const double d = std::hypot(dx - t * lx, dy - t * ly);
                unsigned char v = plate ? 90 : 52;
                if (std::hypot(dx, dy) < 5) v = 30;
                if (d < 2.5) v = 225;
                p[0] = p[1] = p[2] = v;
            }
    return rgb;
}

}  // namespace

TEST_F(GuiTest, SmallFrameWithBackgroundSwitchAndTextFieldSavesAsPng) {
    editor->close();
    auto* ed = new TestEditor(effect, 200, 100);
    delete editor;
    editor = ed;
    const std::vector<unsigned char> back = panel(200, 100);
    hl::registerBitmap(100, 200, 100, back.data());
    const std::vector<unsigned char> strip = switchStrip();
    hl::registerBitmap(101, 60, 90, strip.data());

    editor->open(&parentWindow);
    frame = editor->getFrame();
    window = static_cast<hl::HeadlessWindow*>(frame->getPlatformWindow());
    auto* background = new CBitmap(100);
    frame->setBackground(background);
    auto* switchPicture = new CBitmap(101);
    auto* sw = new CHorizontalSwitch(CRect(130, 20, 190, 50), &listener, 0, 3, 30, 3,
                                     switchPicture);
    switchPicture->forget();
    sw->setValue(0.5f);
    frame->addView(sw);
    auto* field = new CTextEdit(CRect(20, 73, 120, 87), &listener, 43, "Gentle Bus", background);
    field->copyBackOffset();
    field->setFont(kNormalFontSmall);
    field->setFontColor(CColor{76, 76, 72, 255});
    field->setBackColor(CColor{207, 222, 235, 255});
    field->setFrameColor(CColor{76, 76, 72, 255});
    frame->addView(field);
    background->forget();

    frame->idle();  // first paint and the whole frame
    const std::string path = std::string(KVBR_TEST_OUTPUT_DIR) + "/gui_snapshot.png";
    ASSERT_TRUE(window->savePng(path)) << path;
    ASSERT_TRUE(hl::saveSurfacePngScaled(window->surface(), path + ".x4.png", 4));
    std::printf("snapshot: %s\n", path.c_str());

    // The lever of the middle picture points up: bright above the pivot.
    EXPECT_GT(window->pixel(160, 27) & 0xFF, 200u);
    EXPECT_LT(window->pixel(174, 31) & 0xFF, 120u) << "no lever to the right";
    // The text sits dark on the light strip, centred.
    int dark = 0, minX = 200, maxX = 0;
    for (int y = 73; y < 87; ++y)
        for (int x = 20; x < 120; ++x)
            if ((window->pixel(x, y) & 0xFF) < 140) {
                ++dark;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_GT(dark, 40);
    EXPECT_NEAR((minX + maxX) / 2.0, 70.0, 3.0);
}
