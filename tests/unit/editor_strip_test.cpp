// The strip of settings below the panel: the tab opens and closes it, the
// window grows and shrinks and the listener hears the size in device pixels,
// the strip's controls set the settings and follow changes made elsewhere,
// and an editor opens as the session left it. The VST 2.x editor never
// offers it (editor_window_test counts its views).
#include "editor/settingsStrip.h"
#include "editorTestSupport.h"
#include "gui/CHorizontalSwitch.h"
#include "gui/COnOffButton.h"

namespace editortest {
namespace {

constexpr int kTabId = 12305, kStripId = 12300;

class EditorStrip : public EditorTest, public EditorSizeListener {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor->close();
        editor->offerStrip();
        editor->setSizeListener(this);
    }
    void TearDown() override {
        editor->setSizeListener(nullptr);
        EditorTest::TearDown();
    }
    void editorResized(int width, int height) override { told.push_back({width, height}); }

    Parameters& parameters() { return effect->core().parameters(); }
    int windowHeight() const { return window->height(); }
    CRect tabRect() const { return editor->getStripTab()->getSize(); }
    void pressTab() {
        press(tabRect().left + 8, tabRect().top + 8);
        idle();
    }
    // A press at the middle of cell `cell` of the strip's switch of parameter `index`.
    void pressCell(int index, int cell) {
        const auto* control = static_cast<CHorizontalSwitch*>(editor->getStripControl(index));
        const CRect r = control->getSize();
        const int width = r.width() / control->getPositions();
        press(r.left + width * cell + width / 2, r.top + r.height() / 2);
        idle();
    }

    std::vector<std::pair<int, int>> told;
};

TEST_F(EditorStrip, TheTabOpensAndClosesTheStripAndTheListenerHearsTheSize) {
    openEditor();
    EXPECT_EQ(windowHeight(), 309) << "closed, the editor opens at its old size";
    EXPECT_EQ(window->width(), 400);
    EXPECT_TRUE(showsFrame(tabRect(), kTabId, 0, tabRect().height()));
    pressTab();
    EXPECT_EQ(parameters().get(kEditorStripParameter), 1.0f);
    EXPECT_EQ(windowHeight(), 309 + 80);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{400, 389}}));
    ERect* r = nullptr;
    ASSERT_TRUE(editor->getRect(&r));
    EXPECT_EQ(r->bottom - r->top, 389);
    idle();
    EXPECT_TRUE(showsArtwork(CRect(0, 309, 16, 389), kStripId, CPoint(0, 0))) << "the strip's own picture";
    EXPECT_TRUE(showsFrame(tabRect(), kTabId, 1, tabRect().height()));
    pressTab();
    EXPECT_EQ(parameters().get(kEditorStripParameter), 0.0f);
    EXPECT_EQ(windowHeight(), 309);
    EXPECT_EQ(told.back(), (std::pair<int, int>{400, 309}));
    EXPECT_EQ(told.size(), 2u);
}

TEST_F(EditorStrip, ItsControlsSetTheSettingsAndFollowChangesMadeElsewhere) {
    parameters().set(kEditorStripParameter, 1.0f);
    openEditor();
    ASSERT_EQ(windowHeight(), 389);
    EXPECT_TRUE(told.empty()) << "an editor that opens tall was sized by getRect";
    EXPECT_EQ(editor->getNameField()->getSize(), CRect(138, 285, 251, 299)) << "the panel stays above the strip";
    pressCell(kOversamplingParameter, 2);
    EXPECT_EQ(parameters().display(kOversamplingParameter), "4x");
    pressCell(kSidechainFilterParameter, 3);
    EXPECT_EQ(parameters().display(kSidechainFilterParameter), "150 Hz");
    pressCell(kKeyParameter, 1);
    EXPECT_EQ(parameters().display(kKeyParameter), "External");
    pressCell(kKeyParameter, 0);
    EXPECT_EQ(parameters().display(kKeyParameter), "Internal");

    // Dragging the Mix knob down lands on whole percents.
    auto* mix = static_cast<CAnimKnob3*>(editor->getStripControl(kMixParameter));
    const CRect m = mix->getSize();
    const int x = (m.left + m.right) / 2, y = (m.top + m.bottom) / 2;
    gesture(x, y, kLButton, {{kLButton, x, y + 60}, {0, x, y + 60}});
    idle();
    const float value = parameters().get(kMixParameter);
    EXPECT_LT(value, 1.0f);
    EXPECT_FLOAT_EQ(value * 100.0f, std::round(value * 100.0f));

    // A host's change shows at the next idle.
    parameters().set(kMixParameter, 0.4f);
    parameters().set(kOversamplingParameter, 0.5f);
    idle();
    EXPECT_EQ(mix->frameIndex(), 40);
    EXPECT_EQ(editor->getStripControl(kOversamplingParameter)->getValue(), 0.5f);
    // And the strip closed elsewhere (a restored session) closes the window.
    parameters().set(kEditorStripParameter, 0.0f);
    idle();
    EXPECT_EQ(windowHeight(), 309);
    EXPECT_EQ(editor->getStripTab()->getValue(), 0.0f);
}

TEST_F(EditorStrip, AtTwiceTheScaleTheStripAndTheSizeDouble) {
    editor->setHostScale(2.0);
    ERect* r = nullptr;
    ASSERT_TRUE(editor->getRect(&r));
    EXPECT_EQ(r->bottom - r->top, 618);
    parameters().set(kEditorStripParameter, 1.0f);
    ASSERT_TRUE(editor->getRect(&r));
    EXPECT_EQ(r->bottom - r->top, 778) << "a closed editor answers with the session's strip";
    openEditor();
    EXPECT_EQ(window->width(), 800);
    EXPECT_EQ(windowHeight(), 778);
    press(tabRect().left * 2 + 16, tabRect().top * 2 + 16);
    idle();
    EXPECT_EQ(windowHeight(), 618);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{800, 618}}));
}

}  // namespace
}  // namespace editortest
