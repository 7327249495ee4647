// The needle meter: its geometry, what reaches the screen, its auxiliary
// levels, and how the editor feeds, freezes and rests it.
#include "editorTestSupport.h"

using namespace editortest;

namespace {

constexpr std::uint32_t kNeedle = 0xAAA5A0;  // 170, 165, 160
const CRect kFace(150, 66, 250, 109);

class EditorMeter : public EditorTest {
protected:
    CBrasselVuMeter2* meter() { return editor->getMeter(); }
    // The needle drawn for `value` at the next idle.
    void showNeedle(float value) {
        meter()->setValue(value);
        idle();
    }
    std::vector<std::uint32_t> pixels(const CRect& r) {
        std::vector<std::uint32_t> out;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) out.push_back(window->pixel(x, y));
        return out;
    }
    // Needle pixels in row y of the face.
    std::vector<int> needleColumns(int y) {
        std::vector<int> out;
        for (int x = kFace.left; x < kFace.right; ++x)
            if (window->pixel(x, y) == kNeedle) out.push_back(x);
        return out;
    }
};

using Segments = CBrasselVuMeter2::Segment[5];

CRect bounds(const Segments& segments) {
    CRect r(1 << 20, 1 << 20, -(1 << 20), -(1 << 20));
    for (const auto& s : segments)
        for (const CPoint& p : {s.from, s.to}) {
            r.left = std::min(r.left, p.h);
            r.top = std::min(r.top, p.v);
            r.right = std::max(r.right, p.h);
            r.bottom = std::max(r.bottom, p.v);
        }
    return r;
}

}  // namespace

TEST_F(EditorMeter, NeedleEndPointsAtRestHalfAndFullScale) {
    Segments needle;
    // Value 0.0: from about (198, 152) up to the left to about (157, 80).
    meter()->needleSegments(0.0f, needle);
    EXPECT_EQ(needle[1].from, CPoint(198, 152));
    EXPECT_EQ(needle[1].to, CPoint(157, 80));
    EXPECT_EQ(bounds(needle), CRect(157, 80, 199, 153));
    // Value 1.0 mirrors it about the pivot column.
    meter()->needleSegments(1.0f, needle);
    EXPECT_EQ(needle[0].to, CPoint(244, 80));
    EXPECT_EQ(needle[1].to, CPoint(243, 80));
    EXPECT_EQ(bounds(needle), CRect(201, 80, 244, 153));
    // Value 0.5 stands straight up, two pixels wide.
    meter()->needleSegments(0.5f, needle);
    EXPECT_EQ(bounds(needle), CRect(200, 69, 201, 153));
    EXPECT_EQ(needle[1].from, CPoint(200, 152));
    EXPECT_EQ(needle[1].to, CPoint(200, 69));
    // Beyond full scale the needle turns further clockwise; no number leaves it at rest.
    meter()->needleSegments(1.5f, needle);
    EXPECT_GT(needle[1].to.h, 243);
    EXPECT_GT(needle[1].to.v, 80);
    Segments rest;
    meter()->needleSegments(0.0f, rest);
    meter()->needleSegments(std::numeric_limits<float>::quiet_NaN(), needle);
    EXPECT_EQ(bounds(needle), bounds(rest));
}

TEST_F(EditorMeter, OnlyTheFaceReachesTheScreen) {
    EXPECT_EQ(meter()->getFaceRect(), kFace);
    // Upright: columns 200 and 201 from the face's top row to its bottom row.
    showNeedle(0.5f);
    EXPECT_EQ(needleColumns(70), (std::vector<int>{200, 201}));
    EXPECT_EQ(needleColumns(108), (std::vector<int>{200, 201}));
    EXPECT_TRUE(needleColumns(68).empty()) << "the needle ends below the face's top";
    // At rest the needle lies at the upper left, at full scale at the upper right.
    showNeedle(0.0f);
    EXPECT_EQ(window->pixel(158, 81), kNeedle);
    EXPECT_NE(window->pixel(241, 81), kNeedle);
    showNeedle(1.0f);
    EXPECT_EQ(window->pixel(242, 81), kNeedle);
    EXPECT_NE(window->pixel(158, 81), kNeedle);

    // Around the face (the overlay below it, the pivot, the bezel) nothing
    // changes whatever the needle does.
    const CRect below(140, 109, 262, 160);
    const CRect left(130, 60, 150, 109);
    const CRect right(250, 60, 262, 109);
    const CRect above(150, 56, 250, 66);
    const auto before = pixels(below), beforeLeft = pixels(left), beforeRight = pixels(right),
               beforeAbove = pixels(above);
    for (float v : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 1.3f}) {
        showNeedle(v);
        EXPECT_EQ(pixels(below), before) << v;
        EXPECT_EQ(pixels(left), beforeLeft) << v;
        EXPECT_EQ(pixels(right), beforeRight) << v;
        EXPECT_EQ(pixels(above), beforeAbove) << v;
    }
}

TEST_F(EditorMeter, AuxiliaryLevelsClampLatchAndSum) {
    CBrasselVuMeter2& m = *meter();
    // As the editor left it: A, B and C at 0.001, default 1.0.
    EXPECT_FLOAT_EQ(m.getLevelA(), 0.001f);
    EXPECT_FLOAT_EQ(m.getLevelB(), 0.001f);
    EXPECT_FLOAT_EQ(m.getLevelC(), 0.001f);
    EXPECT_EQ(m.getDefaultValue(), 1.0f);

    m.setA(5.0f);
    EXPECT_EQ(m.getValue(), 4.0f);
    m.setA(0.25f);
    m.setC(-1.0f);
    EXPECT_EQ(m.getLevelC(), 1e-9f);

    m.setB(0.7f);
    EXPECT_FLOAT_EQ(m.getValue(), 0.95f);
    EXPECT_FALSE(m.isBOff());
    m.setB(0.2f);
    EXPECT_EQ(m.getLevelB(), -1.0f) << "dropping below 0.5 after reaching it switches B off";
    EXPECT_TRUE(m.isBOff());
    m.setB(0.3f);
    EXPECT_EQ(m.getLevelB(), -1.0f) << "stays off below 0.5";
    m.setB(0.6f);
    EXPECT_FLOAT_EQ(m.getLevelB(), 0.6f) << "back on at 0.5 or more";
    m.resetB();
    m.setB(-9.0f);
    EXPECT_EQ(m.getLevelB(), -4.0f);
    m.setB(0.0f);
    EXPECT_EQ(m.getLevelB(), -4.0f) << "off stays off below 0.5";

    m.resetB();
    m.setAll(0.5f, 0.0f, 0.25f, 0.125f, 0.0625f);
    EXPECT_EQ(m.getLevelB(), 1e-9f);
    EXPECT_FLOAT_EQ(m.getValue(), 0.9375f);
    m.setD(0.5f);
    EXPECT_FLOAT_EQ(m.getValue(), 1.25f);
    m.resetAll();
    EXPECT_FLOAT_EQ(m.getValue(), 2.1e-7f);

    // Drawing pulls the levels back into their working ranges.
    m.setA(3.0f);
    m.setB(-3.0f);
    m.setC(3.0f);
    m.setValue(0.5f);
    idle();
    EXPECT_EQ(m.getLevelA(), 1.0f);
    EXPECT_EQ(m.getLevelB(), -1.5f);
    EXPECT_EQ(m.getLevelC(), 1.5f);
}

TEST_F(EditorMeter, IdleFeedsOneMinusTheReadingClamped) {
    effect->setMeterReading(0.25);
    idle();
    EXPECT_EQ(meter()->getValue(), 0.75f);
    idle();
    EXPECT_EQ(needleColumns(100).empty(), false) << "drawn at the idle after the feed";
    effect->setMeterReading(1.5);
    idle();
    EXPECT_EQ(meter()->getValue(), 0.0f);
    effect->setMeterReading(-2.0);
    idle();
    EXPECT_EQ(meter()->getValue(), 1.0f);
    effect->setMeterReading(std::numeric_limits<double>::quiet_NaN());
    idle();
    EXPECT_EQ(meter()->getValue(), 0.0f);
}

TEST_F(EditorMeter, FrozenWhileTheAboutScreenShowsAndMovingAfterItCloses) {
    effect->setMeterReading(0.5);
    idle();
    EXPECT_EQ(meter()->getValue(), 0.5f);

    press(200, 30);  // the logo
    ASSERT_EQ(editor->getAboutControl()->getValue(), 1.0f);
    effect->setMeterReading(0.2);
    idle();
    idle();
    EXPECT_EQ(meter()->getValue(), 0.5f);

    press(50, 200);  // anywhere on the about picture closes it
    EXPECT_EQ(editor->getAboutControl()->getValue(), 0.0f);
    idle();
    EXPECT_FLOAT_EQ(meter()->getValue(), 0.8f);
}

TEST_F(EditorMeter, SuspendRestsTheNeedleOnlyWhileTheEditorIsOpen) {
    effect->setMeterReading(0.3);
    idle();
    ASSERT_FLOAT_EQ(meter()->getValue(), 0.7f);
    effect->dispatcher(vst2::effMainsChanged, 0, 0, nullptr, 0.0f);
    idle();  // the editor learns of it here, never from the host's call
    EXPECT_EQ(meter()->getValue(), 0.0f);
    idle();
    for (int x : needleColumns(100)) EXPECT_LT(x, 175) << "the needle lies at the left";
    EXPECT_EQ(window->pixel(158, 81), kNeedle);

    editor->close();
    effect->dispatcher(vst2::effMainsChanged, 0, 0, nullptr, 0.0f);  // nothing to rest
    editor->resetMeter();
    EXPECT_EQ(editor->getMeter(), nullptr);
}

TEST_F(EditorMeter, APressOnTheMeterChangesNothing) {
    const float before = meter()->getValue();
    press(200, 90);
    EXPECT_EQ(meter()->getValue(), before);
    EXPECT_TRUE(hostEvents().empty());
}
