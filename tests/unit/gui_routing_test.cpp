// How presses, keys, the wheel, pointer lookups and drags find their view.
#include "guiTestSupport.h"

using namespace guitest;

namespace {

bool contains(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

}  // namespace

TEST_F(GuiTest, PressGoesOnlyToTheLaterOfTwoOverlappingViews) {
    auto* first = new ProbeView(CRect(10, 10, 60, 60), log, "first");
    auto* second = new ProbeView(CRect(40, 40, 90, 90), log, "second");
    frame->addView(first);
    frame->addView(second);
    pressAt(50, 50);
    EXPECT_EQ(log, (Log{"second mouse 50,50 1"}));

    log.clear();
    pressAt(20, 20);  // only the first lies here
    EXPECT_EQ(log, (Log{"first mouse 20,20 1"}));

    // Mouse-disabled views let the press through to the ones below.
    second->setMouseEnabled(false);
    log.clear();
    pressAt(50, 50);
    EXPECT_EQ(log, (Log{"first mouse 50,50 1"}));
}

TEST_F(GuiTest, PressHitsTheMouseableAreaWithAllItsEdges) {
    auto* view = new ProbeView(CRect(10, 10, 20, 20), log, "v");
    frame->addView(view);
    pressAt(20, 20);
    pressAt(10, 10);
    pressAt(21, 15);
    EXPECT_EQ(log, (Log{"v mouse 20,20 1", "v mouse 10,10 1"}));

    // A separate mouseable area replaces the size for hits.
    log.clear();
    frame->removeView(view, true);
    auto* wide = new ProbeView(CRect(10, 10, 20, 20), log, "w");
    frame->addView(wide, CRect(0, 0, 100, 20));
    pressAt(90, 5);
    EXPECT_EQ(log, (Log{"w mouse 90,5 1"}));
}

TEST_F(GuiTest, PressIntoANestedContainerUsesItsOwnCoordinates) {
    auto* box = new CViewContainer(CRect(50, 20, 150, 80), frame);
    auto* inner = new ProbeView(CRect(5, 5, 30, 30), log, "inner");
    box->addView(inner);
    frame->addView(box);
    EXPECT_EQ(inner->getFrame(), frame);
    pressAt(60, 30);
    EXPECT_EQ(log, (Log{"inner mouse 10,10 1"}));
    CPoint p(10, 10);
    inner->localToFrame(p);
    EXPECT_EQ(p, CPoint(60, 30));
    inner->frameToLocal(p);
    EXPECT_EQ(p, CPoint(10, 10));
}

TEST_F(GuiTest, ModalViewTakesEveryPressAndASecondOneIsRefused) {
    auto* below = new ProbeView(CRect(0, 0, 200, 100), log, "below");
    frame->addView(below);
    auto* modal = new ProbeView(CRect(20, 20, 80, 80), log, "modal");
    auto* other = new ProbeView(CRect(0, 0, 10, 10), log, "other");

    ASSERT_TRUE(frame->setModalView(modal));
    EXPECT_EQ(frame->getModalView(), modal);
    EXPECT_EQ(frame->getView(frame->getNbViews() - 1), modal) << "added as the last child";
    EXPECT_FALSE(frame->setModalView(other));
    EXPECT_EQ(frame->getModalView(), modal);

    pressAt(30, 30);
    pressAt(150, 90);  // outside the modal view: nobody gets it
    EXPECT_EQ(log, (Log{"modal mouse 30,30 1"}));

    // Clearing removes it without the release option: the creator's reference remains.
    const int before = CReferenceCounter::liveObjects();
    ASSERT_TRUE(frame->setModalView(nullptr));
    EXPECT_FALSE(frame->isChild(modal));
    EXPECT_EQ(CReferenceCounter::liveObjects(), before);
    EXPECT_EQ(modal->getNbReference(), 1);
    ASSERT_TRUE(frame->setModalView(other));
    modal->forget();

    log.clear();
    pressAt(150, 90);
    EXPECT_TRUE(log.empty()) << "the new modal view does not cover 150,90";
}

TEST_F(GuiTest, PressOnEmptySpaceOnlyRemovesTheFocus) {
    auto* knob = new ProbeView(CRect(10, 10, 40, 40), log, "knob");
    knob->setWantsFocus(true);
    frame->addView(knob);
    frame->setFocusView(knob);
    knob->setDirty(false);

    pressAt(150, 80);
    EXPECT_EQ(log, (Log{"knob loseFocus"}));
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_TRUE(knob->isDirty()) << "a view that wants focus redraws when it loses it";
    EXPECT_EQ(hl::scriptedInput().buttonPolls(), 1) << "the frame read the state once";
}

TEST_F(GuiTest, RemovingTheFocusViewClearsTheFramesFocus) {
    auto* view = new ProbeView(CRect(10, 10, 40, 40), log, "v");
    frame->addView(view);
    frame->setFocusView(view);
    ASSERT_EQ(frame->getFocusView(), view);
    frame->removeView(view, true);
    EXPECT_EQ(frame->getFocusView(), nullptr);

    // Also when it sits in a container that is removed.
    auto* box = new CViewContainer(CRect(0, 0, 100, 100), frame);
    auto* inner = new ProbeView(CRect(10, 10, 40, 40), log, "inner");
    box->addView(inner);
    frame->addView(box);
    frame->setFocusView(inner);
    frame->removeView(box, true);
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(GuiTest, KeysGoToTheFocusViewThenTheModalViewThenTabMovesTheFocus) {
    auto* a = new ProbeView(CRect(0, 0, 10, 10), log, "a");
    auto* b = new ProbeView(CRect(20, 0, 30, 10), log, "b");
    auto* c = new ProbeView(CRect(40, 0, 50, 10), log, "c");
    a->setWantsFocus(true);
    c->setWantsFocus(true);
    frame->addView(a);
    frame->addView(b);
    frame->addView(c);
    auto* modal = new ProbeView(CRect(0, 50, 10, 60), log, "modal");
    frame->setModalView(modal);  // the frame owns it from now on, as any child

    gui::KeyCode key{0, gui::VKEY_UP, 0};
    frame->setFocusView(a);
    EXPECT_FALSE(editor->onKeyDown(key));
    EXPECT_EQ(log, (Log{"a key 12", "modal key 12"}));

    a->keyAnswer = 1;
    log.clear();
    EXPECT_TRUE(editor->onKeyDown(key));
    EXPECT_EQ(log, (Log{"a key 12"}));

    // Tab skips views that do not want focus; Shift+Tab goes back.
    a->keyAnswer = -1;
    gui::KeyCode tab{0, gui::VKEY_TAB, 0};
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), c);
    EXPECT_EQ(frame->onKeyDown(tab), -1) << "no view after the last";
    gui::KeyCode backTab{0, gui::VKEY_TAB, gui::MODIFIER_SHIFT};
    EXPECT_EQ(frame->onKeyDown(backTab), 1);
    EXPECT_EQ(frame->getFocusView(), a);
}

TEST_F(GuiTest, WheelGoesToTheViewUnderThePointer) {
    auto* low = new ProbeView(CRect(0, 0, 100, 100), log, "low");
    auto* high = new ProbeView(CRect(50, 50, 100, 100), log, "high");
    frame->addView(low);
    frame->addView(high);

    // From the window, in screen coordinates.
    window->sendWheel(screen(60, 70), 240);
    // From the host, at the cursor.
    hl::scriptedInput().setPointer(screen(10, 10));
    EXPECT_TRUE(editor->onWheel(-1.0f));
    // Nothing under the pointer: nothing happens.
    hl::scriptedInput().setPointer(screen(150, 10));
    EXPECT_FALSE(editor->onWheel(1.0f));
    EXPECT_EQ(log, (Log{"high wheel 60,70 2", "low wheel 10,10 -1"}));

    auto* modal = new ProbeView(CRect(150, 0, 160, 10), log, "modal");
    frame->setModalView(modal);  // the frame owns it from now on, as any child
    log.clear();
    window->sendWheel(screen(60, 70), 120);
    EXPECT_EQ(log, (Log{"modal wheel 60,70 1"}));
}

TEST_F(GuiTest, PointerLookupFindsTheLastAddedViewUnderTheCursor) {
    auto* low = new ProbeView(CRect(0, 0, 100, 100), log, "low");
    auto* high = new ProbeView(CRect(50, 50, 100, 100), log, "high");
    frame->addView(low);
    frame->addView(high);
    auto& input = hl::scriptedInput();

    input.setPointer(screen(100, 100));  // the far corner, edges included
    EXPECT_EQ(frame->getCurrentView(), high);
    input.setPointer(screen(49, 20));
    EXPECT_EQ(frame->getCurrentView(), low);
    CPoint where;
    frame->getCurrentLocation(where);
    EXPECT_EQ(where, CPoint(49, 20));
    input.setPointer(screen(150, 20));
    EXPECT_EQ(frame->getCurrentView(), nullptr);

    auto* modal = new ProbeView(CRect(150, 0, 160, 10), log, "modal");
    frame->setModalView(modal);  // the frame owns it from now on, as any child
    input.setPointer(screen(60, 60));
    EXPECT_EQ(frame->getCurrentView(), modal);
}

TEST_F(GuiTest, DragsAreTrackedAcrossViewsAndDropsChangeNothing) {
    auto* left = new ProbeView(CRect(0, 0, 100, 100), log, "left");
    auto* right = new ProbeView(CRect(100, 0, 200, 100), log, "right");
    frame->addView(left);
    frame->addView(right);
    platform::DropHandler* target = window->dropHandler();
    ASSERT_NE(target, nullptr) << "the frame registers its drop target";

    hl::HeadlessDragData files({"/tmp/a.kvp", "/tmp/b.kvp"});
    EXPECT_EQ(target->onDragEnter(files, screen(20, 20)), platform::kDropMove);
    EXPECT_EQ(target->onDragOver(screen(30, 20)), platform::kDropMove);
    EXPECT_EQ(target->onDragOver(screen(150, 20)), platform::kDropMove);
    target->onDrop(files, screen(150, 20));
    EXPECT_EQ(log, (Log{"left enter 2", "left move", "left leave", "right enter 2", "right drop",
                        "right leave"}));

    log.clear();
    hl::HeadlessDragData text;
    target->onDragEnter(text, screen(20, 20));
    target->onDragLeave();
    EXPECT_EQ(log, (Log{"left enter 1", "left leave"}));
    EXPECT_TRUE(contains(log, "left leave"));
}

TEST_F(GuiTest, DragContainerListsTheFiles) {
    hl::HeadlessDragData files({"/tmp/a.kvp", "/tmp/b.kvb"});
    auto* drag = new CDragContainer(&files);
    int size = 0, type = 0;
    auto* first = static_cast<const char*>(drag->first(size, type));
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "/tmp/a.kvp");
    EXPECT_EQ(type, CDragContainer::kFile);
    EXPECT_STREQ(static_cast<const char*>(drag->next(size, type)), "/tmp/b.kvb");
    EXPECT_EQ(size, 10);
    EXPECT_EQ(drag->next(size, type), nullptr);
    drag->forget();
}
