// The editor's idle processing on the fake clock: how often a tracking loop
// redraws, how long it pauses between polls, and what the frame's idle draws.
#include "guiTestSupport.h"

using namespace guitest;

TEST_F(GuiTest, DoIdleStuffRedrawsAboutEvery50MsAndPausesAbout4MsBetweenPolls) {
    auto& clock = hl::fakeClock();
    const std::uint32_t start = clock.tickCount();
    std::vector<std::uint32_t> idleTimes;
    for (int poll = 0; poll < 200; ++poll) {
        const int before = editor->idles;
        editor->doIdleStuff();
        if (editor->idles != before) idleTimes.push_back(clock.tickCount());
    }
    const std::uint32_t elapsed = clock.tickCount() - start;
    EXPECT_EQ(clock.sleepCalls(), 200 - 1) << "every poll but the first waits";
    EXPECT_EQ(elapsed, 4u * 199u);
    ASSERT_GE(idleTimes.size(), 10u);
    for (std::size_t i = 1; i < idleTimes.size(); ++i) {
        const std::uint32_t gap = idleTimes[i] - idleTimes[i - 1];
        EXPECT_GE(gap, 48u);
        EXPECT_LE(gap, 56u);
    }
    EXPECT_EQ(effect->masterIdles, static_cast<int>(idleTimes.size()))
        << "the host's idle is asked for at the same rate";
    EXPECT_FALSE(editor->isInIdleStuff());
}

TEST_F(GuiTest, DoIdleStuffRunsAtOnceWhenTheTimeStampHasPassed) {
    hl::fakeClock().advance(1000);
    editor->doIdleStuff();
    EXPECT_EQ(editor->idles, 1);
    EXPECT_EQ(hl::fakeClock().sleepCalls(), 0);
    EXPECT_EQ(editor->getIdleTimeStamp(), hl::fakeClock().tickCount() + 100);
}

TEST_F(GuiTest, DoIdleStuffKeepsItsRhythmAcrossTheTickCountWrapping) {
    for (std::uint32_t start : {0x7FFFFF00u, 0xFFFFFF00u}) {
        hl::fakeClock().set(start);
        editor->idles = 0;
        hl::fakeClock().advance(200);
        for (int poll = 0; poll < 120; ++poll) editor->doIdleStuff();  // ~480 ms
        EXPECT_GE(editor->idles, 9) << "start " << start;
        EXPECT_LE(editor->idles, 11) << "start " << start;
    }
}

TEST_F(GuiTest, HostIdleDuringTheMasterIdleRequestIsIgnored) {
    class ReenteringEffect : public RecordingEffect {
    public:
        using RecordingEffect::RecordingEffect;
        void masterIdle() override {
            RecordingEffect::masterIdle();
            if (getEditor()) getEditor()->idle();  // the host answers with effEditIdle
        }
    };
    Log other;
    ReenteringEffect reentering(other);
    auto* ed = new TestEditor(&reentering, 50, 50);
    ed->open(&parentWindow);
    ed->getFrame()->setDirty(true);
    hl::fakeClock().advance(500);
    auto* frameWindow = static_cast<hl::HeadlessWindow*>(ed->getFrame()->getPlatformWindow());
    frameWindow->processEvents();  // the first paint
    ed->getFrame()->setDirty(true);
    frameWindow->stats() = {};
    ed->doIdleStuff();
    EXPECT_EQ(reentering.masterIdles, 1);
    EXPECT_EQ(ed->idles, 2) << "its own idle, then the host's";
    EXPECT_EQ(frameWindow->stats().copies, 1) << "only the first one drew";
    ed->close();
}

TEST_F(GuiTest, FrameIdleWaitsForTheFirstPaintThenDrawsWhatIsDirty) {
    EXPECT_TRUE(frame->isFirstDraw());
    // The window's first paint arrives with its events.
    frame->idle();
    EXPECT_FALSE(frame->isFirstDraw());
    EXPECT_EQ(window->paintsDelivered(), 1);
    EXPECT_FALSE(frame->isDirty());

    window->stats() = {};
    EXPECT_FALSE(frame->idle()) << "nothing dirty, nothing drawn";
    EXPECT_EQ(window->stats().copies + window->stats().drawings, 0);

    // After the system destroyed the window, idle draws nothing.
    frame->setDirty(true);
    window->destroyBySystem();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_FALSE(frame->idle());
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
}

TEST_F(GuiTest, PressBeforeTheFirstPaintIsStillRouted) {
    auto* probe = new ProbeView(CRect(0, 0, 50, 50), log, "p");
    frame->addView(probe);
    ASSERT_TRUE(frame->isFirstDraw());
    pressAt(10, 10);
    EXPECT_EQ(log, (Log{"p mouse 10,10 1"}));
}

TEST_F(GuiTest, TicksComeFromTheClockAndTheKnobModeIsShared) {
    hl::fakeClock().set(123456);
    EXPECT_EQ(frame->getTicks(), 123456u);
    CFrame orphan(CRect(0, 0, 10, 10), &parentWindow, nullptr);
    EXPECT_EQ(orphan.getTicks(), 0u) << "no editor, no ticks";
    EXPECT_TRUE(editor->setKnobMode(kLinearMode));
    EXPECT_EQ(frame->getKnobMode(), kLinearMode);
    editor->setKnobMode(kCircularMode);
}
