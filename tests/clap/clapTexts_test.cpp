// Every step of every control shows the VST 2.x plug-in's display text for
// the same step, and that text reads back to the step.
#include <span>

#include "TestHost.h"
#include "clapTestSupport.h"
#include "core/controls.h"

TEST(ClapTexts, EveryStepShowsAndReadsTheVstPluginsDisplayText) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const clapabi::PluginParams& params = paramsOf(host);
    TestHost vst;
    vst.open();
    int checked = 0;
    for (const controls::Control& c : std::span(controls::kControls).first(controls::kProgramCount)) {
        const auto id = static_cast<clapabi::Id>(c.parameter);
        for (int step = 0; step <= c.steps; ++step) {
            vst.effect->setParameter(vst.effect, c.parameter, controls::normalisedOfStep(c, step));
            const std::string expected = vst.text(vst2::effGetParamDisplay, c.parameter);
            const double plain = c.minimum + (c.maximum - c.minimum) * step / c.steps;
            char shown[64] = "";
            ASSERT_TRUE(params.valueToText(host.plugin, id, plain, shown, sizeof shown));
            EXPECT_EQ(shown, expected) << c.name << " step " << step;
            double back = -1.0;
            ASSERT_TRUE(params.textToValue(host.plugin, id, expected.c_str(), &back)) << expected;
            EXPECT_DOUBLE_EQ(back, plain) << c.name << " " << expected;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3 + 7 + 21 + 41 + 61);
    EXPECT_NO_THREAD_VIOLATIONS(host);
}
