// Every step of every control shows the display text the plug-in's other
// faces show for the same step (the VST 2.x plug-in's for the program's
// controls, the core's for the instance settings), and that text reads back
// to the step.
#include <functional>
#include <span>

#include "TestHost.h"
#include "clapTestSupport.h"
#include "core/controls.h"
#include "core/parameters.h"

namespace {

// The steps checked: each step's plain value shows `expected(step)`, which
// reads back to that plain value.
int checkSteps(TestClapHost& host, std::span<const controls::Control> shown,
               const std::function<std::string(const controls::Control&, int)>& expected) {
    const clapabi::PluginParams& params = paramsOf(host);
    int checked = 0;
    for (const controls::Control& c : shown)
        for (int step = 0; step <= c.steps; ++step) {
            const std::string text = expected(c, step);
            const double plain = c.minimum + (c.maximum - c.minimum) * step / c.steps;
            char buffer[64] = "";
            EXPECT_TRUE(params.valueToText(host.plugin, c.hostId, plain, buffer, sizeof buffer));
            EXPECT_EQ(buffer, text) << c.name << " step " << step;
            double back = -1.0;
            EXPECT_TRUE(params.textToValue(host.plugin, c.hostId, text.c_str(), &back)) << text;
            EXPECT_DOUBLE_EQ(back, plain) << c.name << " " << text;
            ++checked;
        }
    return checked;
}

}  // namespace

TEST(ClapTexts, EveryStepShowsAndReadsTheVstPluginsDisplayText) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    TestHost vst;
    vst.open();
    const int checked = checkSteps(
        host, std::span(controls::kControls).first(controls::kProgramCount),
        [&](const controls::Control& c, int step) {
            vst.effect->setParameter(vst.effect, c.parameter, controls::normalisedOfStep(c, step));
            return vst.text(vst2::effGetParamDisplay, c.parameter);
        });
    EXPECT_EQ(checked, 3 + 7 + 21 + 41 + 61);
    EXPECT_NO_THREAD_VIOLATIONS(host);
}

TEST(ClapTexts, EveryInstanceSettingsStepShowsAndReadsTheCoresDisplayText) {
    ClapLibrary library;
    TestClapHost host;
    ASSERT_NE(host.create(library, kStereoId), nullptr);
    const int checked = checkSteps(
        host, std::span(controls::kControls).subspan(controls::kProgramCount),
        [](const controls::Control& c, int step) {
            return Parameters::displayOf(c.parameter, controls::normalisedOfStep(c, step));
        });
    // Oversampling, Mix, Sidechain Filter, Key.
    EXPECT_EQ(checked, 3 + 101 + 5 + 2);
    EXPECT_NO_THREAD_VIOLATIONS(host);
}
