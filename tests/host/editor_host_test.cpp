// The editor as a host reaches it through the dispatcher of the built plug-in.
#include <gtest/gtest.h>

#include "TestHost.h"

using namespace vst2;

namespace {

struct EditorHost : ::testing::Test {
    ScratchConfigHome config;
    TestHost host;
    int parentWindow = 0;
    void SetUp() override { ASSERT_NE(host.open(), nullptr); }

    ERect* rect() {
        ERect* r = nullptr;
        EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, &r), 1);
        return r;
    }
};

}  // namespace

TEST_F(EditorHost, RectIsKnownBeforeTheEditorOpens) {
    EXPECT_TRUE(host.effect->flags & effFlagsHasEditor);
    ERect* r = rect();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->top, 0);
    EXPECT_EQ(r->left, 0);
    EXPECT_EQ(r->bottom, 309);
    EXPECT_EQ(r->right, 400);
    EXPECT_EQ(host.dispatch(effEditGetRect, 0, 0, nullptr), 0) << "no place to answer in";
}

TEST_F(EditorHost, OpenIdleCloseCyclesLeaveTheRectAndTheParametersAlone) {
    host.effect->setParameter(host.effect, 5, 0.25f);
    for (int cycle = 0; cycle < 3; ++cycle) {
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, &parentWindow), 1) << cycle;
        for (int i = 0; i < 10; ++i) host.dispatch(effEditIdle);
        // Automation while open and a suspend with the editor up.
        host.effect->setParameter(host.effect, 6, 0.5f);
        host.dispatch(effMainsChanged, 0, 0);
        host.dispatch(effMainsChanged, 0, 1);
        host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
        host.dispatch(effEditIdle);
    }
    EXPECT_EQ(rect()->right, 400);
    EXPECT_EQ(host.effect->getParameter(host.effect, 5), 0.25f) << "opening sends nothing";
    EXPECT_EQ(host.countCalls(audioMasterAutomate), 0);
    EXPECT_EQ(host.countCalls(audioMasterBeginEdit), 0);
}

TEST_F(EditorHost, EditorOpcodesWithoutAnOpenEditorAreHarmless) {
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, nullptr), 0) << "no parent window";
    host.dispatch(effEditIdle);
    host.dispatch(effEditClose);
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'a', 0x28, nullptr, 0.0f), 0);
    EXPECT_EQ(host.dispatch(effEditKeyUp, 'a', 0x28, nullptr, 0.0f), 0);
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, 2), 1);
}

TEST_F(EditorHost, AnEffectClosedWithItsEditorOpenLeavesOtherInstancesWorking) {
    TestHost second;
    ASSERT_NE(second.open(), nullptr);
    int secondParent = 0;
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, &parentWindow), 1);
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, &secondParent), 1);
    host.dispatch(effEditIdle);
    // Some hosts skip effEditClose; the effect takes its editor down with it.
    host.close();
    second.dispatch(effEditIdle);
    second.dispatch(effEditClose);
    EXPECT_EQ(second.dispatch(effEditOpen, 0, 0, &secondParent), 1);
    second.dispatch(effEditIdle);
    second.dispatch(effEditClose);
}
