// The editor window: its size, what open builds, the process switch, the
// parameter mirror with its whole-window redraw, the about screen, and
// opening, closing and refusing to open.
#include "editorTestSupport.h"

#include "platform/headless/cairoDevice.h"

using namespace editortest;

namespace {

class EditorWindow : public EditorTest {
protected:
    CHorizontalSwitch* processSwitch() { return editor->getProcessSwitch(); }
    // Scribbles on the window behind the editor's back; only a redraw of
    // that spot brings the picture back.
    void scribble(int x, int y) {
        hl::CairoDevice device(window->surface());
        device.setBrush(platform::Colour{255, 0, 255, 255});
        device.fillRect(platform::Rect{x, y, x + 1, y + 1});
    }
    static constexpr std::uint32_t kScribble = 0xFF00FF;
};

}  // namespace

TEST_F(EditorWindow, FourHundredByThreeHundredNineEvenBeforeOpening) {
    editor->close();
    vst2::ERect* r = nullptr;
    EXPECT_EQ(effect->dispatcher(vst2::effEditGetRect, 0, 0, &r, 0.0f), 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->right, 400);
    EXPECT_EQ(r->bottom, 309);
}

TEST_F(EditorWindow, OpenBuildsTheControlsInDrawingOrderFromTheEffectsValues) {
    CFrame* frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->getSize(), CRect(0, 0, 400, 309));
    EXPECT_EQ(AEffGUIEditor::getKnobMode(), kLinearMode);
    // Meter, switch, time, compression, output, ratio, about, then the panel's eleven.
    const int tags[] = {ADEditor::kMeterTag, 0, 4, 5, 6, 2, ADEditor::kAboutTag, 43, 49, 44, 45, 46, 47, 48, 50, 51, 52, 53};
    ASSERT_EQ(frame->getNbViews(), 18);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(static_cast<CControl*>(frame->getView(i))->getTag(), tags[i]) << i;
    EXPECT_EQ(processSwitch()->getSize(), CRect(262, 46, 368, 124));
    EXPECT_EQ(processSwitch()->getValue(), 1.0f - parameter(0));
    EXPECT_EQ(processSwitch()->getDefaultValue(), 0.0f);
    EXPECT_EQ(editor->getAboutControl()->getSize(), CRect(96, 22, 304, 46));
    EXPECT_EQ(editor->getAboutControl()->getDisplayRect(), CRect(0, 0, 400, 276));

    // The window shows the panel picture where no control sits.
    hl::RgbImage panel;
    ASSERT_TRUE(hl::embeddedArtwork(12128, panel));
    for (const CPoint p : {CPoint(5, 5), CPoint(390, 140), CPoint(200, 265), CPoint(20, 300)}) {
        const unsigned char* px = &panel.rgb[(static_cast<std::size_t>(p.v) * 400 + p.h) * 3];
        EXPECT_EQ(window->pixel(p.h, p.v), (std::uint32_t(px[0]) << 16) | (px[1] << 8) | px[2])
            << p.h << "," << p.v;
    }

    // A new opening starts from the effect's current values.
    effect->setParameter(6, 0.25f);
    effect->setParameter(0, 0.5f);
    editor->close();
    EXPECT_EQ(editor->getKnob(6), nullptr);
    openEditor();
    EXPECT_EQ(editor->getKnob(6)->getValue(), 0.25f);
    EXPECT_EQ(processSwitch()->getValue(), 0.5f);
}

TEST_F(EditorWindow, ProcessSwitchThirdsSendValveClearOffAndCtrlClickSendsValve) {
    const struct {
        int x;
        float sent;
    } presses[] = {{262, 1.0f}, {297, 1.0f}, {298, 0.5f}, {332, 0.5f}, {333, 0.0f}, {367, 0.0f}};
    for (const auto& p : presses) {
        effect->setParameter(0, 0.25f);
        idle();
        press(p.x, 90);
        EXPECT_EQ(parameter(0), p.sent) << "x " << p.x;
        EXPECT_EQ(processSwitch()->getValue(), 1.0f - p.sent);
    }
    idle();
    EXPECT_TRUE(showsFrame(processSwitch()->getSize(), 12129, 2, 78)) << "Off";

    hostEvents().clear();
    press(300, 90, kLButton | kControl);
    EXPECT_EQ(parameter(0), 1.0f) << "the default position is Valve";
    EXPECT_EQ(distinct(hostLog()), (std::vector<std::string>{"begin 0", "automate 0 1", "end 0"}));
    idle();
    EXPECT_TRUE(showsFrame(processSwitch()->getSize(), 12129, 0, 78)) << "Valve";
}

TEST_F(EditorWindow, AutomationRedrawsTheWholeWindowAtTheNextIdle) {
    scribble(5, 5);
    idle();
    EXPECT_EQ(window->pixel(5, 5), kScribble) << "nothing asked for a redraw there";

    // A parameter without a control still redraws everything.
    effect->setParameter(1, 0.3f);
    EXPECT_EQ(window->pixel(5, 5), kScribble) << "nothing is drawn from the setter";
    idle();
    EXPECT_NE(window->pixel(5, 5), kScribble);

    // A parameter with a control: the control shows the effect's clamped value.
    scribble(5, 5);
    effect->setParameter(5, 7.0f);
    idle();
    EXPECT_EQ(editor->getKnob(5)->getValue(), 1.0f);
    EXPECT_NE(window->pixel(5, 5), kScribble);
    EXPECT_TRUE(showsFrame(editor->getKnob(5)->getSize(), 12171, 40, 114));

    // Closed, the mirror does nothing.
    editor->close();
    effect->setParameter(5, 0.0f);
    idle();
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorWindow, AboutScreenShowsTheVersionAndClosesOnAPress) {
    CAbout* about = editor->getAboutControl();
    press(200, 30, kRButton);
    EXPECT_EQ(about->getValue(), 0.0f) << "a right press does nothing";
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);

    press(200, 30);
    EXPECT_EQ(about->getValue(), 1.0f);
    CView* screen = editor->getFrame()->getModalView();
    ASSERT_NE(screen, nullptr);
    idle();
    // The picture covers the top of the window; the version line is light grey.
    EXPECT_TRUE(showsFrame(CRect(0, 0, 400, 60), 12200, 0, 276));
    int grey = 0;
    for (int y = 70; y < 81; ++y)
        for (int x = 299; x < 340; ++x) {
            const std::uint32_t p = window->pixel(x, y);
            if (((p >> 16) & 0xFF) >= 150 && ((p >> 16) & 0xFF) <= 210 && (p & 0xFF) >= 150)
                ++grey;
        }
    EXPECT_GT(grey, 20) << "the version line's strokes";

    // Presses on the knobs under the picture go to the screen, which closes.
    const float time = parameter(4);
    press(80, 200);
    EXPECT_EQ(parameter(4), time);
    EXPECT_EQ(about->getValue(), 0.0f);
    EXPECT_EQ(editor->getFrame()->getModalView(), nullptr);
    idle();
    EXPECT_FALSE(showsFrame(CRect(0, 0, 400, 60), 12200, 0, 276));

    // Closing the editor while the screen is open leaves nothing behind.
    press(200, 30);
    ASSERT_NE(editor->getFrame()->getModalView(), nullptr);
    editor->close();
}

TEST_F(EditorWindow, OpensAndClosesAnyNumberOfTimes) {
    EXPECT_FALSE(editor->open(nullptr)) << "no parent window";
    for (int i = 0; i < 3; ++i) {
        editor->close();
        editor->close();
        EXPECT_EQ(hl::liveWindows(), 0);
        openEditor();
        EXPECT_EQ(hl::liveWindows(), 1);
    }
    // An open without a close in between replaces the window.
    openEditor();
    EXPECT_EQ(hl::liveWindows(), 1);
    idle();
}

TEST_F(EditorWindow, RefusesToOpenWithAKnobStripTooShortForItsPictures) {
    editor->close();
    // 41 pictures in 40 rows: no picture is a pixel high.
    hl::registerSolidBitmap(12171, 114, 40, 10, 10, 10);
    vst2::ERect* r = nullptr;
    effect->dispatcher(vst2::effEditGetRect, 0, 0, &r, 0.0f);
    EXPECT_EQ(effect->dispatcher(vst2::effEditOpen, 0, 0, &parentWindow, 0.0f), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(editor->getMeter(), nullptr);
    EXPECT_EQ(hl::liveWindows(), 0) << "nothing is left open";
    idle();
    effect->setParameter(5, 0.5f);

    hl::unregisterBitmap(12171);
    openEditor();
    EXPECT_NE(editor->getKnob(5), nullptr);
}

TEST_F(EditorWindow, EditsOfTagsThatAreNoParametersStayInsideTheEditor) {
    editor->beginEdit(45);
    editor->endEdit(45);
    editor->endEdit(-1);
    editor->beginEdit(12);
    EXPECT_TRUE(hostEvents().empty());
    editor->beginEdit(11);
    editor->endEdit(11);
    EXPECT_EQ(hostLog(), (std::vector<std::string>{"begin 11", "end 11"}));
}
