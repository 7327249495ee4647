// Reference counting and ownership: who frees views, bitmaps, contexts and
// the platform objects behind them.
#include "guiTestSupport.h"

using namespace guitest;

TEST_F(GuiTest, ContainerTakesAReferenceAndReleasesOnRemoval) {
    const int before = CReferenceCounter::liveObjects();
    auto* view = new CView(CRect(0, 0, 10, 10));
    EXPECT_EQ(view->getNbReference(), 1);
    frame->addView(view);
    EXPECT_EQ(view->getNbReference(), 2);
    EXPECT_EQ(view->getFrame(), frame);
    EXPECT_EQ(view->getParentView(), frame);
    EXPECT_TRUE(frame->isChild(view));

    // Without the release option the creator's reference keeps it alive.
    EXPECT_TRUE(frame->removeView(view, false));
    EXPECT_EQ(view->getNbReference(), 1);
    EXPECT_EQ(view->getFrame(), nullptr);
    EXPECT_FALSE(frame->removeView(view, true)) << "no longer a child";

    // With it the container drops the creator's reference too.
    frame->addView(view);
    view->remember();  // a probe of our own, to watch the count
    EXPECT_TRUE(frame->removeView(view, true));
    EXPECT_EQ(view->getNbReference(), 1);
    view->forget();
    EXPECT_EQ(CReferenceCounter::liveObjects(), before);
}

TEST_F(GuiTest, DestroyingTheFrameFreesEveryViewBitmapContextAndPlatformObject) {
    editor->close();
    const int before = CReferenceCounter::liveObjects();
    hl::registerSolidBitmap(1, 200, 100, 30, 30, 30);
    hl::registerSolidBitmap(2, 30, 90, 200, 200, 200);

    editor->open(&parentWindow);
    frame = editor->getFrame();
    window = static_cast<hl::HeadlessWindow*>(frame->getPlatformWindow());
    auto* background = new CBitmap(1);
    frame->setBackground(background);
    background->forget();
    auto* strip = new CBitmap(2);
    auto* sw = new CHorizontalSwitch(CRect(0, 0, 30, 30), &listener, 0, 3, 30, 3, strip);
    auto* knob = new CAnimKnob(CRect(40, 0, 70, 30), &listener, 5, 3, 30, strip);
    strip->forget();
    frame->addView(sw);
    frame->addView(knob);
    auto* box = new CViewContainer(CRect(80, 0, 200, 60), frame);
    auto* field = new CTextEdit(CRect(0, 0, 100, 20), &listener, 43, "Name");
    auto* menu = new COptionMenu(CRect(0, 30, 20, 40), &listener, 49);
    menu->addEntry("one");
    box->addView(field);
    box->addView(menu);
    frame->addView(box);
    auto* modal = new CView(CRect(0, 0, 200, 100));
    ASSERT_TRUE(frame->setModalView(modal));

    frame->idle();  // paint: the frame's and the box's offscreen surfaces
    pressAt(100, 10);  // the modal view takes it; nothing opens
    frame->setModalView(nullptr);  // removed without release: ours again
    modal->forget();
    ASSERT_TRUE(frame->setModalView(modal = new CView(CRect(0, 0, 10, 10))));
    pressAt(100, 10);  // outside the new modal view
    frame->setModalView(nullptr);
    modal->forget();
    pressAt(90, 10);  // opens the text field's edit box
    ASSERT_TRUE(field->isEditing());
    auto* keptOpen = new CView(CRect(0, 0, 200, 100));
    frame->setModalView(keptOpen);  // the about screen left open
    frame->setDirty(true);
    frame->idle();

    EXPECT_GT(CReferenceCounter::liveObjects(), before);
    EXPECT_EQ(hl::liveNativeBitmaps(), 2);
    EXPECT_EQ(hl::liveOffscreenSurfaces(), 2);
    EXPECT_EQ(hl::liveEditBoxes(), 1);
    EXPECT_EQ(hl::liveWindows(), 1);
    EXPECT_EQ(hl::liveDropRegistrations(), 1);

    editor->close();
    EXPECT_EQ(CReferenceCounter::liveObjects(), before);
    EXPECT_EQ(hl::liveNativeBitmaps(), 0);
    EXPECT_EQ(hl::liveOffscreenSurfaces(), 0);
    EXPECT_EQ(hl::liveEditBoxes(), 0);
    EXPECT_EQ(hl::liveWindows(), 0);
    EXPECT_EQ(hl::liveDropRegistrations(), 0);
    EXPECT_EQ(hl::CairoDevice::live(), 0);
    EXPECT_EQ(hl::dragDropServiceDepth(), 1) << "the editor itself still holds its share";
}

TEST_F(GuiTest, TwoEditorsShareOneWindowClass) {
    EXPECT_TRUE(hl::windowClassRegistered());
    EXPECT_EQ(hl::windowClassName().rfind("Plugin", 0), 0u);
    Log other;
    RecordingEffect second(other);
    auto* ed = new TestEditor(&second, 50, 50);
    ed->open(&parentWindow);
    EXPECT_EQ(hl::liveWindows(), 2);
    editor->close();  // the first closes
    EXPECT_TRUE(hl::windowClassRegistered());
    EXPECT_EQ(hl::windowClassRegistrations(), 1);
    ed->close();
    EXPECT_FALSE(hl::windowClassRegistered());
}

TEST_F(GuiTest, AnEditorDeletedWithItsFrameOpenReleasesIt) {
    auto* view = new CView(CRect(0, 0, 10, 10));
    frame->addView(view);
    delete effect;  // the host never closed the editor
    effect = new RecordingEffect(log);
    editor = new TestEditor(effect, 10, 10);
    EXPECT_EQ(hl::liveWindows(), 0);
    EXPECT_EQ(hl::dragDropServiceDepth(), 1);
}
