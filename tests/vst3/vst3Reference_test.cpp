// The fixed reference run of tools/referenceRun.h through the VST 3 bundle,
// against the samples the Linux VST 2.x plug-in recorded for it: bit for bit
// on Linux, and within the Windows DLL's own tolerance under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/controls.h"
#include "tools/referenceRun.h"
#include "vst3TestHost.h"

using namespace vst3test;

namespace {

// A VST 2.x value as a VST 3 host sends the step it shows.
Change changeFor(int parameter, float vst2Value, long at) {
    const controls::Control& control = *controls::byParameter(parameter);
    return {static_cast<ParamID>(parameter), at,
            static_cast<double>(controls::stepOfNormalised(control, vst2Value)) / control.steps};
}

template <typename Sample>
double worstDifference(Instance& plugin, const reference::Case& c, const reference::Recording& recorded,
                       const std::vector<Sample>& expectedLeft, const std::vector<Sample>& expectedRight) {
    const bool mono = c.inputs == 1;
    Buffers<Sample> in{std::vector<Sample>(recorded.inLeft.begin(), recorded.inLeft.end())};
    if (!mono) in.emplace_back(recorded.inRight.begin(), recorded.inRight.end());
    const std::vector<Change> changes = {
        changeFor(0, c.process, 0), changeFor(2, c.ratio, 0), changeFor(4, c.time, 0),
        changeFor(5, c.compression, 0), changeFor(6, c.output, 0),
        changeFor(5, c.laterCompression, reference::kFrames / 2)};
    const Buffers<Sample> out = plugin.process(in, {reference::kBlock}, changes);
    double worst = reference::maxRelativeDifference(out[0], expectedLeft);
    if (!mono) worst = std::max(worst, reference::maxRelativeDifference(out[1], expectedRight));
    return worst;
}

}  // namespace

TEST(Vst3Reference, TheBundleGivesTheLinuxSamples) {
    reference::Recording recorded;
    ASSERT_TRUE(reference::load(KVBR_VST3_REFERENCE_FILE, recorded)) << KVBR_VST3_REFERENCE_FILE;
    Module module;
    ASSERT_TRUE(module.valid()) << module.error;
    int compared = 0;
    for (int i = 0; i < reference::kNumCases; ++i) {
        const reference::Case& c = reference::kCases[i];
        // One input and two outputs is no layout of the VST 3 plug-in.
        if (c.inputs != c.outputs) continue;
        const reference::Output& expected = recorded.outputs[static_cast<size_t>(i)];
        Instance narrow(module), wide(module);
        ASSERT_TRUE(narrow.start(c.sampleRate, c.inputs == 1, kSample32, reference::kBlock));
        ASSERT_TRUE(wide.start(c.sampleRate, c.inputs == 1, kSample64, reference::kBlock));
        const double floats = worstDifference(narrow, c, recorded, expected.floatLeft, expected.floatRight);
        const double doubles = worstDifference(wide, c, recorded, expected.doubleLeft, expected.doubleRight);
        std::printf("%-20s largest relative difference to Linux: 32-bit %.3g, 64-bit %.3g\n", c.name, floats,
                    doubles);
        EXPECT_LE(floats, KVBR_VST3_REFERENCE_TOLERANCE) << c.name;
        EXPECT_LE(doubles, KVBR_VST3_REFERENCE_TOLERANCE) << c.name;
        ++compared;
    }
    EXPECT_EQ(compared, 3);
}
