// The fixed reference run of tools/referenceRun.h through the CLAP build,
// against what the VST 2.x plug-in gave for it. The Windows build runs this
// under Wine with the Linux build's recording, so the Windows .clap must
// give the Linux samples; the Linux build checks its own .clap against its
// own VST 2.x plug-in the same way.
#include "clapRender.h"
#include "clapTestSupport.h"
#include "core/controls.h"
#include "platform/sharedLibrary.h"
#include "tools/referenceRun.h"

namespace {

// The recorded run's parameter values are normalised and lie on steps.
double plainOf(int parameter, float normalised) {
    const controls::Control& c = *controls::byParameter(parameter);
    return controls::valueOfStep(c, controls::stepOfNormalised(c, normalised));
}

template <typename Sample>
Signal<Sample> clapRun(const ClapLibrary& library, const reference::Case& c, const Signal<double>& input) {
    const bool mono = c.outputs == 1;
    TestClapHost host;
    EXPECT_NE(host.create(library, mono ? kMonoId : kStereoId), nullptr);
    EXPECT_TRUE(host.activate(c.sampleRate, 1, 4096));
    std::vector<ParamChange> changes = {{0, kProcess, plainOf(0, c.process)},
                                        {0, kRatio, plainOf(2, c.ratio)},
                                        {0, kTime, plainOf(4, c.time)},
                                        {0, kCompression, plainOf(5, c.compression)},
                                        {0, kOutput, plainOf(6, c.output)},
                                        {reference::kFrames / 2, kCompression, plainOf(5, c.laterCompression)}};
    Signal<double> in = input;
    if (mono) in.resize(1);
    // Blocks of odd sizes, so that the change falls inside one.
    const Signal<Sample> out = renderClap(host, converted<Sample>(in), {7, 4096, 333, 1}, changes);
    EXPECT_NO_THREAD_VIOLATIONS(host);
    return out;
}

template <typename Sample>
void expectSame(const Signal<Sample>& got, const std::vector<Sample>& left, const std::vector<Sample>& right,
                const char* name) {
    EXPECT_TRUE(got[0] == left) << name << " left, " << sizeof(Sample) * 8 << " bits";
    if (got.size() > 1) {
        EXPECT_TRUE(got[1] == right) << name << " right, " << sizeof(Sample) * 8 << " bits";
    }
}

}  // namespace

TEST(ClapReference, TheReferenceRunGivesTheVstPluginsSamples) {
    reference::Recording recording;
#if defined(KVBR_LINUX_REFERENCE)
    ASSERT_TRUE(reference::load(KVBR_LINUX_REFERENCE, recording)) << KVBR_LINUX_REFERENCE;
#else
    {
        auto vst = platform::SharedLibrary::open(KVBR_PLUGIN_PATH, nullptr);
        ASSERT_TRUE(vst);
        auto entry = reinterpret_cast<reference::Entry>(vst->symbol("VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        reference::makeInput(recording.inLeft, recording.inRight);
        recording.outputs.resize(reference::kNumCases);
        for (int i = 0; i < reference::kNumCases; ++i)
            ASSERT_TRUE(reference::run(entry, reference::kCases[i], recording.inLeft, recording.inRight,
                                       recording.outputs[static_cast<std::size_t>(i)]));
    }
#endif
    ClapLibrary library;
    ASSERT_TRUE(library.valid()) << library.error;
    const Signal<double> input = {recording.inLeft, recording.inRight};
    int compared = 0;
    for (int i = 0; i < reference::kNumCases; ++i) {
        const reference::Case& c = reference::kCases[i];
        // CLAP has no one-in-two-out plug-in.
        if (c.inputs != c.outputs) continue;
        const reference::Output& expected = recording.outputs[static_cast<std::size_t>(i)];
        expectSame(clapRun<float>(library, c, input), expected.floatLeft, expected.floatRight, c.name);
        expectSame(clapRun<double>(library, c, input), expected.doubleLeft, expected.doubleRight, c.name);
        ++compared;
    }
    EXPECT_EQ(compared, 3);
}
